// Inserting, editing, deleting and saving mixes, and the rules of variants and of the mix in use.
#include "catalogue/camposdotraco.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "formtraco.h"

#include "calc/calcstate.h"
#include "calc/formats.h"
#include "calc/numericentry.h"
#include "calc/physicaldata.h"
#include "calc/strength.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "platform/clock.h"
#include "platform/colacao.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "widgets/caixatexto.h"
#include "widgets/recusa.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSqlRecord>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace mixform {

namespace {

using desktop::Dialogs;
using platform::DbError;

const QChar CR = QLatin1Char('\r');

QString dataGravada(const QString& texto)
{
    // A date typed as dd-mm-yyyy or dd/mm/yyyy is stored as dd-mm-yyyy; anything else as an empty text.
    for (const char* formato : {"dd-MM-yyyy", "d-M-yyyy", "dd/MM/yyyy", "d/M/yyyy", "dd-MM-yy", "dd/MM/yy"}) {
        QDate data = QDate::fromString(texto.trimmed(), QString::fromLatin1(formato));
        if (data.isValid()) {
            if (data.year() < 1950)
                data = data.addYears(100);
            return data.toString(QStringLiteral("dd-MM-yyyy"));
        }
    }
    return {};
}

bool mesmoNome(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

int FormTraco::selecionado(const std::array<QRadioButton*, 3>& grupo) const
{
    for (int i = 0; i < 3; ++i) {
        if (grupo[i]->isChecked())
            return i;
    }
    return -1;
}

void FormTraco::selecionaPosicao(QComboBox* lista, int posicao)
{
    // Positions count from 1, as ProcuraNaLista answers; 0 selects nothing.
    lista->setCurrentIndex(posicao >= 1 && posicao <= lista->count() ? posicao - 1 : -1);
}

void FormTraco::trocaNaLista(const QString& antigo, const QString& novo)
{
    // The catalogue's names followed the write; the name list on screen, which holds the same names in the same
    // order, follows it too without reading every name again: the old name leaves it when the catalogue no longer
    // has it, the name written enters it where the catalogue put it.
    QComboBox* const lista = Combo[ListaNome];
    const QSignalBlocker bloqueio(lista);
    if (!antigo.isEmpty() && antigo != novo && m_catalogo.posicaoExata(antigo) < 0) {
        const int p = platform::lugarEmOrdem(
            lista->count(), [lista](int i) { return lista->itemText(i); }, antigo);
        if (p < lista->count() && lista->itemText(p) == antigo)
            lista->removeItem(p);
    }
    if (const int p = novo.isEmpty() ? -1 : m_catalogo.posicaoExata(novo); p >= 0 && lista->itemText(p) != novo)
        lista->insertItem(p, novo);
}

// ---- Writes of the catalogue ----

void FormTraco::mostraAvisos(const QList<Aviso>& avisos)
{
    for (const Aviso& a : avisos)
        Dialogs::aviso(a.texto, a.titulo, a.icone);
}

TracoLido FormTraco::tracoLido() const
{
    // The row as the window shows it: a change another workstation wrote since then is found by the write.
    TracoLido lido;
    lido.codigo = tracos().field(QStringLiteral("Codigo")).toLongLong();
    lido.nome = tracos().field(QStringLiteral("NomeTraco")).toString();
    if (tracos().record().indexOf(QStringLiteral("Versao")) >= 0)
        lido.versao = tracos().field(QStringLiteral("Versao")).toLongLong();
    return lido;
}

template <typename Escrita> auto FormTraco::comEspera(Escrita escrita) -> decltype(escrita())
{
    QElapsedTimer relogio;
    relogio.start();
    bool esperando = false;
    const auto fimDaEspera = [&] {
        if (!esperando)
            return;
        QApplication::restoreOverrideCursor();
        if (m_janela)
            m_janela->MostraStatus(QString());
    };
    for (;;) {
        try {
            auto resultado = escrita();
            fimDaEspera();
            return resultado;
        } catch (const DbError& erro) {
            // Each try already waits the connection's own time for the lock.
            if (erro.numero() != platform::RegistroBloqueado || relogio.elapsed() >= esperaMaximaMs) {
                fimDaEspera();
                throw;
            }
            if (!esperando) {
                esperando = true;
                QApplication::setOverrideCursor(Qt::WaitCursor);
                if (m_janela)
                    m_janela->MostraStatus(QStringLiteral("Aguardando outra estação liberar o banco de dados..."));
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
}

bool FormTraco::recusaDaGravacao(const DbError& erro)
{
    const auto registra = [&] {
        platform::RegistraErro(QStringLiteral("Gravando"), erro.numero(),
                               erro.detalhe().isEmpty() ? erro.descricao()
                                                        : erro.descricao() + QStringLiteral(" - ") + erro.detalhe());
    };
    switch (erro.numero()) {
    case platform::RegistroAlteradoPorOutro: {
        registra();
        const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
            QStringLiteral("Este traço foi alterado em outra estação depois que você começou a editá-lo.") + CR + CR +
                QStringLiteral("Sim: descarta o que você digitou e mostra o traço como está gravado agora.") + CR +
                QStringLiteral("Não: continua editando; ao gravar, o que você digitou substitui a alteração feita na "
                               "outra estação."),
            QStringLiteral("Traço alterado em outra estação"), Dialogs::Icone::Exclamacao, Dialogs::Botoes::SimNao,
            Dialogs::Resposta::Sim);
        if (resposta == Dialogs::Resposta::Sim) {
            descartaEdicao();
            releTraco(m_lido.codigo);
            voltaAVisualizar(std::nullopt);
        } else {
            // Told once: the next save writes over the other workstation's change, as the user chose.
            if (const std::optional<qint64> versao = m_catalogo.versao(m_lido.codigo))
                m_lido.versao = versao;
        }
        return true;
    }
    case platform::RegistroExcluido: {
        registra();
        const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
            QStringLiteral("Este traço foi excluído em outra estação depois que você começou a editá-lo.") + CR + CR +
                QStringLiteral("Sim: grava o que você digitou como um traço novo.") + CR +
                QStringLiteral("Não: continua editando (Cancelar descarta o que foi digitado)."),
            QStringLiteral("Traço excluído em outra estação"), Dialogs::Icone::Exclamacao, Dialogs::Botoes::SimNao,
            Dialogs::Resposta::Sim);
        if (resposta == Dialogs::Resposta::Sim) {
            descartaEdicao();
            tracos().addNew();
            alterando = false;
            inserindo = true;
            Gravando(Fim::Gravar);
        }
        return true;
    }
    case platform::ValorDuplicado:
        registra();
        if (dynamic_cast<const catalogue::NomeJaExiste*>(&erro)) {
            recarregaNomes();
            corrigeONome(QStringLiteral("Não pode ser este nome.") + CR + QStringLiteral("Pois o mesmo já existe.") +
                             CR + CR + QStringLiteral("Quer digitar outro nome?"),
                         QStringLiteral("Traço Existente"), Dialogs::Icone::Informacao);
        } else {
            Dialogs::aviso(QStringLiteral("O banco de dados recusou a gravação deste traço: uma regra do banco de "
                                          "dados não o aceita (") +
                               erro.detalhe() + QStringLiteral(").") + CR +
                               QStringLiteral("Nada foi gravado e o traço continua na tela."),
                           QStringLiteral("Traço não gravado"), Dialogs::Icone::Exclamacao);
        }
        return true;
    default:
        return false;
    }
}

void FormTraco::descartaEdicao()
{
    // The record set may not be editing: a row deleted elsewhere cannot be read for an edit.
    if (tracos().editMode() != platform::RecordSet::EditMode::Nenhum)
        tracos().cancelUpdate();
}

void FormTraco::excluidoEmOutraEstacao()
{
    Dialogs::aviso(QStringLiteral("Este traço já foi excluído em outra estação."),
                   QStringLiteral("Traço excluído em outra estação"), Dialogs::Icone::Informacao);
    recarregaNomes();
    OrdenarTracos(std::nullopt);
    MostraNumero();
}

void FormTraco::releTraco(qint64 codigo)
{
    // The record set reads the row again when it goes to it.
    try {
        tracos().setBookmark(codigo);
    } catch (const DbError&) {
        OrdenarTracos(std::nullopt);
    }
}

void FormTraco::OrdenarTracos(std::optional<qint64> codigo)
{
    // The products are read again with the catalogue: another module may have renamed one meanwhile.
    m_produtos->esquece();
    try {
        m_catalogo.ordena(codigo);
    } catch (const DbError& erro) {
        desktop::MostraErro(QStringLiteral("Ordenar Traços"), erro.numero(), erro.descricao());
    }
    emit catalogoAlterado();
}

bool FormTraco::mostraTraco(qint64 codigo)
{
    if (inserindo || alterando)
        return false;
    try {
        // The record as it stands when nothing was written since it was read; read again otherwise, so that a mix
        // another workstation added is found too.
        m_catalogo.ordena(codigo);
    } catch (const DbError& erro) {
        desktop::MostraErro(QStringLiteral("Mostrar Traço"), erro.numero(), erro.descricao());
    }
    MostraNumero();
    return true;
}

void FormTraco::recarregaNomes()
{
    m_catalogo.leNomes();
    mostraNomes();
}

void FormTraco::mostraNomes()
{
    const QSignalBlocker bloqueio(Combo[ListaNome]);
    preencheLista(Combo[ListaNome], m_catalogo.nomes());
    Combo[ListaNome]->setCurrentIndex(-1);
}

// ---- The record-move check ----

void FormTraco::validacao(int acao, bool& salvar)
{
    if (m_janela && m_janela->fechando()) {
        salvar = false;
        return;
    }
    try {
        m_catalogo.acompanha(acao, salvar);
        switch (acao) {
        case platform::RecordSet::Excluir:
            MostraNumero();
            break;
        case platform::RecordSet::Fechar:
            if (salvar &&
                Dialogs::atual().mensagem(QStringLiteral("Grava antes de Encerrar?"), QStringLiteral("Gravar Registro"),
                                          Dialogs::Icone::Nenhum, Dialogs::Botoes::SimNao,
                                          Dialogs::Resposta::Sim) != Dialogs::Resposta::Sim)
                salvar = false;
            break;
        default:
            break;
        }
    } catch (const DbError& erro) {
        desktop::MostraErro(QStringLiteral("Erro de Validade\r\n") + erro.descricao(), erro.numero(), erro.descricao());
    }
}

// ---- Insert, edit, delete ----

void FormTraco::leDadosFisicos()
{
    // The specific and bulk masses and the sand's moisture, as the boxes hold them, read at the start of every
    // recalculation. A box that holds no plausible number leaves the value the mix had; the save refuses it.
    std::array<double*, 6> massas{&m_estado.gammaC, &m_estado.rhoC,   &m_estado.gammaS,
                                  &m_estado.rhoS,   &m_estado.gammaG, &m_estado.rhoG};
    for (int i = 0; i < 6; ++i) {
        if (const std::optional<double> valor = calc::physicalValue(i, Texto[i]->text()))
            *massas[i] = *valor;
    }
    if (const std::optional<double> umidade = calc::physicalValue(6, Texto[6]->text()))
        m_estado.h = *umidade / 100.0;
}

void FormTraco::mostraDadoFisico(int i, const QString& texto)
{
    // With the decimal comma, as the catalogue shows a stored mix; a text that is no plausible value stays as it
    // is, for the save to refuse with its message.
    Texto[std::size_t(i)]->setText(calc::physicalText(i, texto));
}

void FormTraco::Inserindo()
{
    m_produtos->esquece();
    try {
        marcadorSalvo = totalRegistros() < 1 ? QVariant() : tracos().bookmark();
        tracos().addNew();
        emit registro(QStringLiteral("Registro %1/%1").arg(totalRegistros() + 1));

        const calc::Padroes padroes = m_janela ? m_janela->padroes() : calc::Padroes{};
        if (magoPendente) {
            ClasseCimento->setCurrentText(m_estado.classe.trimmed());
        } else {
            m_estado.limpa();
            if (padroes.opcaoForma >= 0 && padroes.opcaoForma < 3) {
                OpcaoForma[padroes.opcaoForma]->setChecked(true);
                // The solid components, the cement with them, are measured in the mix's measure.
                const QString unidade = padroes.opcaoForma == 0 ? QStringLiteral("Kg") : QStringLiteral("Litros");
                for (int i = 0; i <= 4; ++i) {
                    UnidT[i]->setText(unidade);
                    UnidM[i]->setText(unidade);
                }
            }
            for (int i = 0; i < 7; ++i)
                mostraDadoFisico(i, padroes.textos[i]);
            if (padroes.opcaoTextura >= 0 && padroes.opcaoTextura < 3)
                OpcaoTextura[padroes.opcaoTextura]->setChecked(true);
            if (padroes.tipoConcreto >= 0 && padroes.tipoConcreto < 4)
                TipoConcreto[padroes.tipoConcreto]->setChecked(true);
            ClasseCimento->setCurrentText(padroes.classe.trimmed());
            m_estado.classeAgressividade = qint16(padroes.classeAgressividade);
            m_estado.estrutura = qint16(padroes.estrutura);
            mostraDurabilidade(m_estado);
        }

        selecionaPosicao(Combo[ListaNome], 0);
        selecionaPosicao(Combo[ListaConsistencia], 3);
        Combo[ListaCimento]->setCurrentIndex(
            Combo[ListaCimento]->findText(QStringLiteral("Cimento ") + ClasseCimento->currentText()));
        selecionaPosicao(Combo[ListaGraudo1], 1);
        selecionaPosicao(Combo[ListaGraudo2], 3);
        selecionaPosicao(Combo[ListaAditivo1], 0);
        selecionaPosicao(Combo[ListaAditivo2], 0);
        const std::optional<qint16> meio = calc::toInt16(Combo[ListaAbatimento]->count() / 2.0);
        selecionaPosicao(Combo[ListaAbatimento], meio.value_or(0));
        selecionaPosicao(Combo[ListaReducao], 1);
        Combo[ListaNome]->setEditText(QString());
        Combo[ListaAditivo1]->setCurrentIndex(-1);
        Combo[ListaAditivo2]->setCurrentIndex(-1);

        Faixa->hide();
        RotVar->clear();
        if (m_janela) {
            m_janela->MostraStatus(QStringLiteral("Inserindo novo registro"));
            m_janela->barraDeEdicao(true);
        }
        MostraMovimento(false);
        Betoneira[BetoneiraParada]->hide();
        Betoneira[BetoneiraEmUso]->show();
        TracoCorrente->setChecked(true);
        if (m_janela)
            m_janela->Modo(Operacao::Inserir);
        else
            Modo(Operacao::Inserir);

        TextoC[CaixaCadastro]->setText(platform::Clock::hoje().toString(QStringLiteral("dd-MM-yyyy")));
        TextoC[CaixaCotacao]->setText(dataPrecoCusto.toString(QStringLiteral("dd-MM-yyyy")));
        m_estado.Hm = calc::readNumber(padroes.textos[7]);
        defineCusto(CustoPerda, calc::readNumber(padroes.textos[8]));
        m_estado.perda = custo(CustoPerda);
        TextoM[9]->setText(calc::formatQuantity(m_estado.Hm));

        // Nothing of the mix shown before stays: no result, no cost, and every product row names what its list
        // shows.
        for (widgets::CaixaTexto* c : TextoI)
            c->clear();
        defineCusto(CustoSemPerda, 0.0);
        defineCusto(CustoComPerda, 0.0);

        Pasta->show();
        Pasta->setCurrentIndex(0);
        Combo[ListaNome]->setFocus();
        inserindo = true;
        alterando = false;
        legendasDasListas();
    } catch (const DbError& erro) {
        desktop::MostraErro(QStringLiteral("Inserindo"), erro.numero(), erro.descricao());
    }
}

void FormTraco::Alterando()
{
    if (totalRegistros() == 0) {
        Dialogs::aviso(QStringLiteral("Não tem nenhum registro"), QStringLiteral("Alterar"),
                       Dialogs::Icone::Informacao);
        return;
    }
    m_produtos->esquece();
    // A row that cannot be read now is read again by the save, which tells the user what became of it.
    const auto tenta = [](auto passo) {
        try {
            passo();
        } catch (const DbError& erro) {
            platform::RegistraErro(QStringLiteral("Alterando"), erro.numero(), erro.descricao());
        }
    };
    tenta([&] { m_lido = tracoLido(); });
    tenta([&] { marcadorSalvo = tracos().bookmark(); });
    try {
        tracos().edit();
    } catch (const DbError& erro) {
        if (erro.numero() == platform::RegistroExcluido) {
            excluidoEmOutraEstacao();
            return;
        }
    }
    if (m_janela) {
        m_janela->MostraStatus(QStringLiteral("Alterando Registro"));
        m_janela->barraDeEdicao(true);
    }
    MostraMovimento(false);
    if (m_janela)
        m_janela->Modo(Operacao::Alterar);
    else
        Modo(Operacao::Alterar);

    const auto escolhe = [](QComboBox* lista, int posicao) {
        if (posicao > 0)
            lista->setCurrentIndex(posicao - 1);
    };
    escolhe(Combo[ListaNome], m_catalogo.posicaoDoNome(TextoC[CaixaNome]->text()) + 1);
    Combo[ListaNome]->setEditText(TextoC[CaixaNome]->text());
    nomeAntigo = TextoC[CaixaNome]->text();
    escolhe(Combo[ListaConsistencia], ProcuraNaLista(Combo[ListaConsistencia], TextoC[CaixaConsistencia]->text()));
    // The slump and the reduction the mix was saved with, even when the lists do not offer them today.
    if (calc::strictNumber(TextoC[CaixaAbatimento]->text()))
        escolheNumero(Combo[ListaAbatimento],
                      (QStringLiteral("00") + TextoC[CaixaAbatimento]->text().trimmed()).right(3));
    const std::array<std::pair<int, int>, 5> produtos{{{2, 0}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}};
    for (const auto& [lista, linha] : produtos) {
        const int p = ProcuraNaLista(Combo[lista], CompT[linha]->text());
        if (p > 0)
            Combo[lista]->setCurrentIndex(p - 1);
        else
            selecionaPosicao(Combo[lista], 0);
    }
    escolheNumero(Combo[ListaReducao], TextoC[CaixaReducao]->text().trimmed().isEmpty() ? QStringLiteral("0")
                                                                                        : TextoC[CaixaReducao]->text());
    legendasDasListas();

    tenta([&] {
        const bool emVolume = OpcaoForma[1]->isChecked() || OpcaoForma[2]->isChecked();
        const QString unidade = emVolume ? QStringLiteral("Litros") : QStringLiteral("Kg");
        for (int i = 1; i <= 4; ++i) {
            UnidT[i]->setText(unidade);
            UnidM[i]->setText(unidade);
        }
        const auto campo = [this](const char* nome) { return tracos().field(QLatin1String(nome)).toDouble(); };
        if (emVolume) {
            m_estado.Lc = campo("TracoCimento");
            m_estado.Lfs = campo("TracoAreiaFina");
            m_estado.Lcs = campo("TracoAreiaGrossa");
            m_estado.Lg1 = campo("TracoGraudoQde1");
            m_estado.Lg2 = campo("TracoGraudoQde2");
            m_estado.Lcm = campo("Cimento");
            m_estado.Lfsm = campo("AreiaFina");
            m_estado.Lcsm = campo("AreiaGrossa");
            m_estado.Lg1m = campo("Graudo1");
            m_estado.Lg2m = campo("Graudo2");
        } else {
            m_estado.Mc = campo("TracoCimento");
            m_estado.Mfs = campo("TracoAreiaFina");
            m_estado.Mcs = campo("TracoAreiaGrossa");
            m_estado.Mg1 = campo("TracoGraudoQde1");
            m_estado.Mg2 = campo("TracoGraudoQde2");
            m_estado.Cm = campo("Cimento");
            m_estado.Sfm = campo("AreiaFina");
            m_estado.Scm = campo("AreiaGrossa");
            m_estado.G1m = campo("Graudo1");
            m_estado.G2m = campo("Graudo2");
        }
        m_estado.A1 = campo("TracoAditivoQde1");
        m_estado.A2 = campo("TracoAditivoQde2");
    });
    tenta([&] {
        const double traco = tracos().field(QStringLiteral("TracoCimento")).toDouble();
        if (traco != 0.0)
            m_estado.f = tracos().field(QStringLiteral("Cimento")).toDouble() / traco;
        m_estado.H_b = tracos().field(QStringLiteral("TracoMaoDeObra")).toDouble();
        m_estado.Hm = tracos().field(QStringLiteral("MaodeObra")).toDouble();
    });
    inserindo = false;
    alterando = true;
    if (Pasta->currentIndex() == 0)
        Combo[ListaNome]->setFocus();
    else if (Pasta->currentIndex() == 1)
        Combo[ListaCimento]->setFocus();
    ReCalculo();
}

void FormTraco::Excluindo()
{
    if (totalRegistros() < 1) {
        Dialogs::aviso(QStringLiteral("Não tem nenhum registro"), QStringLiteral("Excluir"),
                       Dialogs::Icone::Informacao);
        return;
    }
    if (Dialogs::atual().mensagem(QStringLiteral("Apaga este Traço de Concreto?"), QStringLiteral("Excluir Traço"),
                                  Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNao,
                                  Dialogs::Resposta::Sim) != Dialogs::Resposta::Sim)
        return;
    try {
        const QVariant codigoTraco = tracos().field(QStringLiteral("CodigoTraco"));
        if (codigoTraco.isNull())
            throw DbError(platform::UsoInvalidoDeNulo);
        const TracoLido lido = tracoLido();
        QList<Aviso> avisos;
        const bool excluido = comEspera([&] {
            avisos.clear();
            return m_catalogo.exclui(lido, avisos);
        });
        mostraAvisos(avisos);
        if (excluido) {
            // The name leaves the list with its last variant.
            trocaNaLista(lido.nome, {});
            OrdenarTracos(std::nullopt);
            if (totalRegistros() < 1) {
                // The catalogue's last mix is gone: nothing of it stays on screen.
                Dialogs::aviso(QStringLiteral("Excluindo o último Registro"), QStringLiteral("Excluindo Traço"),
                               Dialogs::Icone::Nenhum);
                m_estado.limpa();
                limpaTela();
            }
        }
        MostraNumero();
    } catch (const DbError& erro) {
        switch (erro.numero()) {
        case platform::UsoInvalidoDeNulo:
            return;
        case platform::SemRegistroCorrente:
            Dialogs::aviso(QStringLiteral("Excluindo o último Registro"), QStringLiteral("Excluindo Traço"),
                           Dialogs::Icone::Nenhum);
            m_estado.limpa();
            limpaTela();
            return;
        case platform::RegistroAlteradoPorOutro:
            Dialogs::aviso(QStringLiteral("Este traço foi alterado em outra estação depois de ser mostrado aqui.") +
                               CR +
                               QStringLiteral("Ele será mostrado como está gravado agora: confira-o antes de "
                                              "excluí-lo."),
                           QStringLiteral("Traço alterado em outra estação"), Dialogs::Icone::Exclamacao);
            releTraco(tracos().bookmark().toLongLong());
            MostraNumero();
            return;
        case platform::RegistroExcluido:
            excluidoEmOutraEstacao();
            return;
        default:
            desktop::MostraErro(QStringLiteral("Excluindo Registro"), erro.numero(), erro.descricao());
        }
    }
}

// ---- Saving ----

void FormTraco::corrigeONome(const QString& texto, const QString& titulo, Dialogs::Icone icone)
{
    // Yes: back to the name, the record stays open. No: the insert or edit is cancelled.
    if (Dialogs::atual().mensagem(texto, titulo, icone, Dialogs::Botoes::SimNao, Dialogs::Resposta::Sim) ==
        Dialogs::Resposta::Sim) {
        Pasta->setCurrentIndex(0);
        Combo[ListaNome]->setFocus();
    } else {
        Gravando(Fim::Cancelar);
    }
}

bool FormTraco::nomeAceito(const QString& nome)
{
    if (nome.trimmed().isEmpty()) {
        corrigeONome(QStringLiteral("Traço sem descrição.") + CR + CR + QStringLiteral("Preenche descrição?"),
                     QStringLiteral("Traço sem Nome"), Dialogs::Icone::Exclamacao);
        return false;
    }
    if (nome.size() > TamanhoDoNome) {
        // Refused before anything is written: the database keeps names of up to 50 characters.
        return widgets::recusa(Pasta, Combo[ListaNome],
                               QStringLiteral("O nome do traço tem %1 caracteres.").arg(nome.size()) + CR +
                                   QStringLiteral("Use no máximo %1.").arg(TamanhoDoNome),
                               QStringLiteral("Nome muito longo"));
    }
    return true;
}

bool FormTraco::tracoAceito()
{
    // Nothing is computed with, nor stored, that the boxes do not hold as a plausible number.
    for (int i = 0; i < 7; ++i) {
        if (!calc::physicalValue(i, Texto[i]->text()))
            return widgets::recusa(Pasta, Texto[i], calc::physicalDataMessage(i, Texto[i]->text()),
                                   QStringLiteral("Valor inválido"));
    }

    // The row is written from one last recalculation of what the window shows, so that what is stored is what
    // the window, the sheet and a later recalculation give.
    m_estado.indiceEdicao = calc::CalcState::semEdicao;
    ReCalculo();

    const std::array<double, 10> porTraco = m_estado.porTraco();
    const std::array<double, 10> porMetro = m_estado.porMetro();
    if (!(porTraco[0] > 0.0))
        return widgets::recusa(Pasta, TextoT[0], QStringLiteral("Informe a quantidade de cimento do traço."),
                               QStringLiteral("Traço sem Cimento"));
    for (int i : {1, 2, 3, 4, 5, 6, 9}) {
        if (porTraco[std::size_t(i)] < 0.0 || porMetro[std::size_t(i)] < 0.0)
            return widgets::recusa(
                Pasta, TextoT[i],
                QStringLiteral("A quantidade de %1 não pode ser negativa.").arg(CompT[i]->text().trimmed()),
                QStringLiteral("Quantidade inválida"));
    }
    for (int i = 0; i < 10; ++i) {
        for (const double valor : {porTraco[std::size_t(i)], porMetro[std::size_t(i)]}) {
            if (!std::isfinite(valor) || std::abs(valor) >= kMaiorQuantidade)
                return widgets::recusa(Pasta, TextoT[i],
                                       QStringLiteral("A quantidade de %1 ficou grande demais para o quadro (%2).")
                                               .arg(CompT[i]->text().trimmed(), calc::formatQuantity(valor)) +
                                           CR + QStringLiteral("Confira as quantidades do traço."),
                                       QStringLiteral("Quantidade inválida"));
        }
    }
    return true;
}

QVariantMap FormTraco::camposDoTraco()
{
    // The results, the batch, the cubic metre and the product codes as the last recalculation left them; then what
    // the user typed or chose, as the boxes hold it.
    QVariantMap campos = catalogue::CamposDoTraco(m_estado, *m_produtos);
    const auto campo = [&campos](const char* nomeCampo, const QVariant& valor) {
        campos.insert(QLatin1String(nomeCampo), valor);
    };

    campo("DataCadastro", dataGravada(TextoC[CaixaCadastro]->text()));
    campo("DataCotacao", dataGravada(TextoC[CaixaCotacao]->text()));
    campo("Atualizado", false);
    campo("Classe", ClasseCimento->currentText().trimmed());
    campo("ReducaoAgua", TextoC[CaixaReducao]->text().trimmed());
    // An option no button shows chosen keeps what the row holds.
    for (const char* opcao : {"Volumetrico", "Dosagem", "Textura", "Destino"})
        campos.remove(QLatin1String(opcao));
    const int forma = selecionado(OpcaoForma);
    if (forma >= 0) {
        campo("Volumetrico", forma);
        campo("Dosagem", forma);
    }
    if (const int t = selecionado(OpcaoTextura); t >= 0)
        campo("Textura", t);
    for (int i = 0; i < 4; ++i) {
        if (TipoConcreto[i]->isChecked()) {
            campo("Destino", i);
            break;
        }
    }
    // The physical data as typed: the moisture is kept in per cent, as the box holds it.
    const std::array<const char*, 7> fisicos{"EspeCim", "AparCim", "EspeMiu", "AparMiu",
                                             "EspeGra", "AparGra", "Umidade"};
    for (int i = 0; i < 7; ++i)
        campo(fisicos[i], calc::physicalValue(i, Texto[i]->text()).value_or(0.0));
    return campos;
}

void FormTraco::voltaAVisualizar(std::optional<qint64> reordena)
{
    inserindo = false;
    alterando = false;
    Faixa->hide();
    if (m_janela) {
        m_janela->barraDeEdicao(false);
        m_janela->Modo(Operacao::Visualizar);
        m_janela->MostraStatus(QString());
    } else {
        Modo(Operacao::Visualizar);
    }
    MostraMovimento(true);
    if (reordena)
        OrdenarTracos(*reordena);
    MostraNumero();
    cancelando = false;
}

void FormTraco::Gravando(Fim fim)
{
    TextoC[CaixaConsistencia]->setText(Combo[ListaConsistencia]->currentText());
    TextoC[CaixaAbatimento]->setText(Combo[ListaAbatimento]->currentText());
    TextoC[CaixaReducao]->setText(Combo[ListaReducao]->currentText());
    magoPendente = false;
    if (fim == Fim::Cancelar) {
        m_estado.limpa();
        cancelando = true;
    } else {
        cancelando = false;
    }
    // The name typed in the name list is the mix's name.
    if (!Combo[ListaNome]->isHidden())
        TextoC[CaixaNome]->setText(Combo[ListaNome]->currentText());
    // Blanks around a name are not part of it: "Concreto 25 " is the mix "Concreto 25".
    QString nome = TextoC[CaixaNome]->text().trimmed();
    std::optional<qint64> novo;

    if (inserindo) {
        if (fim == Fim::Cancelar) {
            cancelando = true;
            descartaEdicao();
            if (totalRegistros() == 0) {
                m_catalogo.definePosicao(0);
                emit registro(QStringLiteral("Registro 0/0"));
            }
            m_catalogo.voltaAoMarcador(marcadorSalvo);
        } else {
            if (!nomeAceito(nome) || !tracoAceito())
                return;
            // New name or new variant, its number and the in-use mark are decided by what the catalogue holds at
            // the moment of the write, other workstations' mixes included.
            const TracoAGravar traco{nome, TracoCorrente->isChecked(), camposDoTraco()};
            Gravacao gravado;
            try {
                gravado = comEspera([&] { return m_catalogo.insere(traco); });
            } catch (const DbError& erro) {
                // Nothing was written; the insert stays open with what the user typed.
                if (!recusaDaGravacao(erro))
                    desktop::MostraErro(QStringLiteral("Gravando"), erro.numero(), erro.descricao());
                return;
            }
            descartaEdicao();
            RotVar->setText(calc::padded(gravado.variante, 2));
            mostraAvisos(gravado.avisos);
            trocaNaLista({}, gravado.nome);
            novo = gravado.codigo;
        }
    } else if (alterando) {
        if (fim == Fim::Cancelar) {
            cancelando = true;
            descartaEdicao();
            if (!marcadorSalvo.isValid())
                m_estado.limpa();
            else
                m_catalogo.voltaAoMarcador(marcadorSalvo);
        } else {
            if (!nomeAceito(nome))
                return;
            const bool renomeado = nome != nomeAntigo.trimmed();
            if (renomeado) {
                const int p = m_catalogo.posicaoDoNome(nome);
                if (p >= 0 && !mesmoNome(m_catalogo.nomes().at(p), nomeAntigo)) {
                    corrigeONome(QStringLiteral("Não pode ser este nome.") + CR +
                                     QStringLiteral("Pois o mesmo já existe.") + CR + CR +
                                     QStringLiteral("Quer digitar outro nome?"),
                                 QStringLiteral("Traço Existente"), Dialogs::Icone::Informacao);
                    return;
                }
            }
            if (!tracoAceito())
                return;
            const TracoAGravar traco{nome, TracoCorrente->isChecked(), camposDoTraco()};
            Gravacao gravado;
            try {
                gravado = comEspera([&] { return m_catalogo.altera(m_lido, traco); });
            } catch (const DbError& erro) {
                if (!recusaDaGravacao(erro))
                    desktop::MostraErro(QStringLiteral("Gravando"), erro.numero(), erro.descricao());
                return;
            }
            descartaEdicao();
            releTraco(m_lido.codigo);
            mostraAvisos(gravado.avisos);
            trocaNaLista(m_lido.nome, gravado.nome);
        }
    }
    voltaAVisualizar(novo);
}

} // namespace mixform
