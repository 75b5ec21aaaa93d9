#include "dialogs.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace desktop {

namespace {

std::unique_ptr<Dialogs>& instalado()
{
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<MessageBoxDialogs>();
    return dialogs;
}

QMessageBox::Icon paraQt(Dialogs::Icone icone)
{
    switch (icone) {
    case Dialogs::Icone::Informacao:
        return QMessageBox::Information;
    case Dialogs::Icone::Exclamacao:
        return QMessageBox::Warning;
    case Dialogs::Icone::Pergunta:
        return QMessageBox::Question;
    case Dialogs::Icone::Critico:
        return QMessageBox::Critical;
    case Dialogs::Icone::Nenhum:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Dialogs& Dialogs::atual()
{
    return *instalado();
}

void Dialogs::instala(std::unique_ptr<Dialogs> dialogs)
{
    instalado() = std::move(dialogs);
}

void Dialogs::aviso(const QString& texto, const QString& titulo, Icone icone)
{
    atual().mensagem(texto, titulo, icone, Botoes::Ok, Resposta::Ok);
}

Dialogs::Resposta MessageBoxDialogs::mensagem(const QString& texto, const QString& titulo, Icone icone, Botoes botoes,
                                              Resposta padrao)
{
    QMessageBox caixa(paraQt(icone), titulo,
                      QString(texto)
                          .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                          .replace(QLatin1Char('\r'), QLatin1Char('\n')),
                      QMessageBox::NoButton, m_pai);
    struct Par
    {
        Resposta resposta;
        QString legenda;
        QMessageBox::ButtonRole papel;
    };
    QList<Par> pares;
    switch (botoes) {
    case Botoes::Ok:
        pares = {{Resposta::Ok, QStringLiteral("OK"), QMessageBox::AcceptRole}};
        break;
    case Botoes::OkCancelar:
        pares = {{Resposta::Ok, QStringLiteral("OK"), QMessageBox::AcceptRole},
                 {Resposta::Cancelar, QStringLiteral("Cancelar"), QMessageBox::RejectRole}};
        break;
    case Botoes::SimNao:
        pares = {{Resposta::Sim, QStringLiteral("&Sim"), QMessageBox::YesRole},
                 {Resposta::Nao, QStringLiteral("&Não"), QMessageBox::NoRole}};
        break;
    case Botoes::SimNaoCancelar:
        pares = {{Resposta::Sim, QStringLiteral("&Sim"), QMessageBox::YesRole},
                 {Resposta::Nao, QStringLiteral("&Não"), QMessageBox::NoRole},
                 {Resposta::Cancelar, QStringLiteral("Cancelar"), QMessageBox::RejectRole}};
        break;
    }
    QHash<QAbstractButton*, Resposta> respostas;
    for (const Par& par : pares) {
        QPushButton* botao = caixa.addButton(par.legenda, par.papel);
        respostas.insert(botao, par.resposta);
        if (par.resposta == padrao)
            caixa.setDefaultButton(botao);
        if (par.papel == QMessageBox::RejectRole || pares.size() == 1)
            caixa.setEscapeButton(botao);
    }
    caixa.exec();
    return respostas.value(caixa.clickedButton(), botoes == Botoes::SimNao ? Resposta::Nao : Resposta::Cancelar);
}

int MessageBoxDialogs::mostraModal(QDialog* form)
{
    return form->exec();
}

} // namespace desktop
