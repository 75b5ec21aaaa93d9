#include "traco.h"

#include "catalogue/recusteio.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "mixform/formtraco.h"
#include "platform/dberror.h"
#include "preview/visualiza.h"
#include "printing/documento.h"
#include "printing/relatoriocustos.h"

#include <QApplication>

namespace app {

using desktop::Dialogs;

void Traco::RotinaAtualizarCustos()
{
    const QString titulo = printing::legendaDosCustos();
    if (m_form->totalRegistros() < 1) {
        Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."), QStringLiteral("Nenhum traço cadastrado"),
                       Dialogs::Icone::Informacao);
        return;
    }
    const Dialogs::Resposta escolha = Dialogs::atual().mensagem(
        QStringLiteral("Recalcular os custos dos traços com os preços atuais dos produtos?\r\r"
                       "Sim: todos os traços.\rNão: somente os traços em uso.\rCancelar: nada é alterado."),
        titulo, Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNaoCancelar, Dialogs::Resposta::Sim);
    if (escolha == Dialogs::Resposta::Cancelar)
        return;

    MostraStatus(QStringLiteral("Atualizando os custos dos traços"));
    const QVariant marcador = m_form->catalogo().marcador();
    ocupado = true;
    // The progress window is made once the run knows how many mixes it goes through.
    printing::ProgressoDoRelatorio janela;
    const auto progresso = [&](int feitos, int total) {
        if (!janela)
            janela = preview::progressoNaJanela(this, total, titulo, QStringLiteral("Atualizando os custos…"));
        return janela(feitos, total);
    };
    catalogue::ResultadoDoRecusteio resultado;
    bool feito = false;
    try {
        resultado = catalogue::Recusteio(m_db).executa(escolha == Dialogs::Resposta::Nao, progresso);
        feito = true;
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(titulo, erro.numero(), erro.descricao());
    }
    janela = {};

    if (feito && resultado.cancelado) {
        Dialogs::aviso(QStringLiteral("Atualização cancelada: nenhum custo foi alterado."), titulo,
                       Dialogs::Icone::Informacao);
    } else if (feito) {
        if (resultado.mudados.isEmpty()) {
            QString texto = QStringLiteral("Nenhum custo mudou: os custos gravados já são os dos preços atuais.");
            if (!resultado.semPreco.isEmpty())
                texto += QStringLiteral("\r\r%1 traço(s) ficaram de fora por falta de preço; veja o relatório.")
                             .arg(resultado.semPreco.size());
            Dialogs::aviso(texto, titulo, Dialogs::Icone::Informacao);
        }
        if (!resultado.mudados.isEmpty() || !resultado.semPreco.isEmpty()) {
            auto documento = std::make_unique<printing::Documento>();
            printing::compoeRelatorioDeCustos(*documento, resultado, logotipo);
            preview::MostraDocumento(std::move(documento), titulo, this);
        }
    }
    // The mix shown is read again: its costs and quotation date as now stored.
    m_form->catalogo().voltaAoMarcador(marcador);
    m_form->MostraNumero();
    MostraStatus(QString());
    ocupado = false;
}

} // namespace app
