// Inserting, editing, deleting and saving mixes, and the rules of variants and of the mix in use.
#include "consultas.h"
#include "formtraco.h"

#include "calc/calcstate.h"
#include "calc/formats.h"
#include "calc/mixfields.h"
#include "calc/numericentry.h"
#include "calc/physicaldata.h"
#include "calc/strength.h"
#include "platform/aplicacao.h"
#include "platform/clock.h"
#include "platform/colacao.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/errorlog.h"
#include "platform/transaction.h"
#include "widgets/caixatexto.h"
#include "widgets/recusa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTabWidget>

#include <cmath>

namespace catalogue {

namespace {

using platform::DbError;
using platform::Dialogs;

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

void FormTraco::insereNome(const QString& nome)
{
    // In the catalogue's order.
    int i = 0;
    while (i < Combo[0]->count() && platform::comparaTextos(Combo[0]->itemText(i), nome) < 0)
        ++i;
    Combo[0]->insertItem(i, nome);
}

// ---- Variants and the mix in use ----

int FormTraco::NumeroVariante(const QString& nome)
{
    if (nome.trimmed().isEmpty())
        return 0;
    const Consulta c = Consultas::variantesDoNome(nome);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    int n = 0;
    while (q.next()) {
        if (q.value(0).toInt() != n)
            break;
        ++n;
    }
    return n;
}

void FormTraco::LimpandoPlantoes(const QString& nome)
{
    const Consulta c = Consultas::limpaPlantoes(nome);
    m_db.exec(c.sql, c.valores);
}

void FormTraco::RenomeandoNomes(const QString& novo, const QString& antigo)
{
    const Consulta c = Consultas::renomeia(novo, antigo);
    m_db.exec(c.sql, c.valores);
}

int FormTraco::TracoUsando(qint64 codigo)
{
    const Consulta c = Consultas::produtosQueUsam(codigo);
    return m_db.scalar(c.sql, c.valores).toInt();
}

int FormTraco::ContandoVariantes(qint64 codigo)
{
    const Consulta c = Consultas::linhasComCodigo(codigo);
    return m_db.scalar(c.sql, c.valores).toInt();
}

std::optional<qint64> FormTraco::CodigoDoNome(const QString& nome)
{
    try {
        const QVariant codigo = m_db.scalar(
            QStringLiteral(
                "SELECT CodigoTraco FROM Tracos WHERE NomeTraco = ? ORDER BY NomeTraco, TracoVariante LIMIT 1"),
            {nome});
        if (codigo.isValid() && !codigo.isNull())
            return codigo.toLongLong();
    } catch (const DbError&) {
    }
    Dialogs::aviso(QStringLiteral("Não encontrou Nome do Traço"), platform::Aplicacao::titulo(),
                   Dialogs::Icone::Nenhum);
    return std::nullopt;
}

void FormTraco::avisa(const QString& texto, const QString& titulo, Dialogs::Icone icone)
{
    // Inside a write the message waits for its end: the other workstations are not kept waiting on the database
    // while the user reads it.
    if (m_db.transactionDepth() > 0)
        m_avisos.append({texto, titulo, icone});
    else
        Dialogs::aviso(texto, titulo, icone);
}

void FormTraco::mostraAvisos(bool gravado)
{
    const QList<Aviso> avisos = std::exchange(m_avisos, {});
    if (!gravado)
        return; // what was written has been undone, and with it what the messages told
    for (const Aviso& a : avisos)
        Dialogs::aviso(a.texto, a.titulo, a.icone);
}

bool FormTraco::TrocandoPlantao(const QString& nome, int variante, const QString& operacao)
{
    bool permitido = true;
    LimpandoPlantoes(nome);
    const Consulta c = Consultas::linhasDoNome(nome);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    QList<std::pair<qint64, int>> linhas; // rowid, variant
    QString nomeGravado = nome;
    while (q.next()) {
        linhas.append(
            {q.value(QStringLiteral("Codigo")).toLongLong(), q.value(QStringLiteral("TracoVariante")).toInt()});
        nomeGravado = q.value(QStringLiteral("NomeTraco")).toString();
    }
    if (linhas.size() >= 2) {
        // The lowest other variant takes the mark.
        for (const auto& [codigo, outra] : linhas) {
            if (outra == variante)
                continue;
            m_db.exec(QStringLiteral("UPDATE Tracos SET Plantao = TRUE WHERE Codigo = ?"), {codigo});
            avisa(QStringLiteral("O novo traço ") + nomeGravado.trimmed() + QStringLiteral(" de plantao") + CR +
                      QStringLiteral("é o traço variante de número ") + calc::padded(outra, 2),
                  QStringLiteral("Novo traço de Plantão"), Dialogs::Icone::Informacao);
            break;
        }
    } else {
        for (const auto& [codigo, outra] : linhas)
            m_db.exec(QStringLiteral("UPDATE Tracos SET Plantao = TRUE WHERE Codigo = ?"), {codigo});
        permitido = false;
        avisa(QStringLiteral("Este traço está sendo utilizado,") + CR +
                  QStringLiteral("e o mesmo não tem traço variante.") + CR + CR +
                  (operacao == QLatin1String("Excluir") ? QStringLiteral("Portanto, não pode ser excluído.")
                                                        : QStringLiteral("Portanto, deve continuar em plantão.")),
              QStringLiteral("Único traço em Uso"), Dialogs::Icone::Informacao);
    }
    return permitido;
}

void FormTraco::OrdenarTracos()
{
    try {
        const QString nome = DadoTraco.field(QStringLiteral("NomeTraco")).toString();
        const int variante = DadoTraco.field(QStringLiteral("TracoVariante")).toInt();
        const Consulta catalogo = Consultas::catalogo();
        DadoTraco.setQuery(catalogo.sql, catalogo.valores);
        DadoTraco.refresh();
        DadoTraco.findFirst([&](const QSqlRecord& r) {
            return r.value(QStringLiteral("NomeTraco")).toString() == nome &&
                   r.value(QStringLiteral("TracoVariante")).toInt() == variante;
        });
        if (!DadoTraco.noMatch())
            posicao = DadoTraco.absolutePosition() + 1;
    } catch (const DbError& erro) {
        platform::MostraErro(QStringLiteral("Ordenar Traços"), erro.numero(), erro.descricao());
    }
}

// ---- The record-move check ----

void FormTraco::validacao(int acao, bool& salvar)
{
    if (m_janela && m_janela->fechando()) {
        salvar = false;
        return;
    }
    try {
        switch (acao) {
        case platform::RecordSet::MoverPrimeiro:
            posicao = 1;
            break;
        case platform::RecordSet::MoverAnterior:
            if (posicao != 1)
                --posicao;
            break;
        case platform::RecordSet::MoverProximo:
            if (posicao != totalRegistros)
                ++posicao;
            break;
        case platform::RecordSet::MoverUltimo:
            posicao = totalRegistros;
            break;
        case platform::RecordSet::AdicionarNovo:
            if (salvar) {
                if (DadoTraco.editMode() == platform::RecordSet::EditMode::Adicionando) {
                    ++totalRegistros;
                    posicao = totalRegistros;
                } else {
                    salvar = false;
                }
            }
            break;
        case platform::RecordSet::Excluir:
            --totalRegistros;
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
        platform::MostraErro(QStringLiteral("Erro de Validade\r\n") + erro.descricao(), erro.numero(),
                             erro.descricao());
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

void FormTraco::Inserindo()
{
    try {
        marcadorSalvo = totalRegistros < 1 ? QVariant() : DadoTraco.bookmark();
        DadoTraco.addNew();
        emit registro(QStringLiteral("Registro %1/%1").arg(totalRegistros + 1));

        const Padroes padroes = m_janela ? m_janela->padroes() : Padroes{};
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
                Texto[i]->setText(padroes.textos[i]);
            if (padroes.opcaoTextura >= 0 && padroes.opcaoTextura < 3)
                OpcaoTextura[padroes.opcaoTextura]->setChecked(true);
            if (padroes.tipoConcreto >= 0 && padroes.tipoConcreto < 4)
                TipoConcreto[padroes.tipoConcreto]->setChecked(true);
            ClasseCimento->setCurrentText(padroes.classe.trimmed());
        }

        selecionaPosicao(Combo[0], 0);
        selecionaPosicao(Combo[1], 3);
        Combo[2]->setCurrentIndex(Combo[2]->findText(QStringLiteral("Cimento ") + ClasseCimento->currentText()));
        selecionaPosicao(Combo[3], 1);
        selecionaPosicao(Combo[4], 3);
        selecionaPosicao(Combo[5], 0);
        selecionaPosicao(Combo[6], 0);
        const std::optional<qint16> meio = calc::toInt16(Combo[7]->count() / 2.0);
        selecionaPosicao(Combo[7], meio.value_or(0));
        selecionaPosicao(Combo[8], 1);
        Combo[0]->setEditText(QString());
        Combo[5]->setCurrentIndex(-1);
        Combo[6]->setCurrentIndex(-1);

        Faixa->hide();
        RotVar->clear();
        if (m_janela) {
            m_janela->MostraStatus(QStringLiteral("Inserindo novo registro"));
            m_janela->barraDeEdicao(true);
        }
        MostraMovimento(false);
        Betoneira[1]->hide();
        Betoneira[0]->show();
        TracoCorrente->setChecked(true);
        if (m_janela)
            m_janela->Modo(Operacao::Inserir);
        else
            Modo(Operacao::Inserir);

        TextoC[3]->setText(platform::Clock::hoje().toString(QStringLiteral("dd-MM-yyyy")));
        TextoC[4]->setText(QLocale().toString(dataPrecoCusto, QLocale::ShortFormat));
        m_estado.Hm = calc::readNumber(padroes.textos[7]);
        defineCusto(1, calc::readNumber(padroes.textos[8]));
        m_estado.perda = custo(1);
        TextoM[9]->setText(calc::formatQuantity(m_estado.Hm));

        // Nothing of the mix shown before stays: no result, no cost, and every product row names what its list
        // shows.
        for (widgets::CaixaTexto* c : TextoI)
            c->clear();
        defineCusto(0, 0.0);
        defineCusto(2, 0.0);

        Pasta->show();
        Pasta->setCurrentIndex(0);
        Combo[0]->setFocus();
        inserindo = true;
        alterando = false;
        legendasDasListas();
    } catch (const DbError& erro) {
        platform::MostraErro(QStringLiteral("Inserindo"), erro.numero(), erro.descricao());
    }
}

void FormTraco::Alterando()
{
    if (totalRegistros == 0) {
        Dialogs::aviso(QStringLiteral("Não tem nenhum registro"), QStringLiteral("Alterar"),
                       Dialogs::Icone::Informacao);
        return;
    }
    const auto tenta = [](auto passo) {
        try {
            passo();
        } catch (const DbError&) {
        }
    };
    tenta([&] { estavaEmUso = DadoTraco.field(QStringLiteral("Plantao")).toBool(); });
    tenta([&] { marcadorSalvo = DadoTraco.bookmark(); });
    tenta([&] { DadoTraco.edit(); });
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
    escolhe(Combo[0], ProcuraNaLista(Combo[0], TextoC[0]->text()));
    Combo[0]->setEditText(TextoC[0]->text());
    nomeAntigo = TextoC[0]->text();
    escolhe(Combo[1], ProcuraNaLista(Combo[1], TextoC[1]->text()));
    // The slump and the reduction the mix was saved with, even when the lists do not offer them today.
    if (calc::strictNumber(TextoC[2]->text()))
        escolheNumero(Combo[7], (QStringLiteral("00") + TextoC[2]->text().trimmed()).right(3));
    const std::array<std::pair<int, int>, 5> produtos{{{2, 0}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}};
    for (const auto& [lista, linha] : produtos) {
        const int p = ProcuraNaLista(Combo[lista], CompT[linha]->text());
        if (p > 0)
            Combo[lista]->setCurrentIndex(p - 1);
        else
            selecionaPosicao(Combo[lista], 0);
    }
    escolheNumero(Combo[8], TextoC[5]->text().trimmed().isEmpty() ? QStringLiteral("0") : TextoC[5]->text());
    legendasDasListas();

    tenta([&] {
        const bool emVolume = OpcaoForma[1]->isChecked() || OpcaoForma[2]->isChecked();
        const QString unidade = emVolume ? QStringLiteral("Litros") : QStringLiteral("Kg");
        for (int i = 1; i <= 4; ++i) {
            UnidT[i]->setText(unidade);
            UnidM[i]->setText(unidade);
        }
        const auto campo = [this](const char* nome) { return DadoTraco.field(QLatin1String(nome)).toDouble(); };
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
        const double traco = DadoTraco.field(QStringLiteral("TracoCimento")).toDouble();
        if (traco != 0.0)
            m_estado.f = DadoTraco.field(QStringLiteral("Cimento")).toDouble() / traco;
        m_estado.H_b = DadoTraco.field(QStringLiteral("TracoMaoDeObra")).toDouble();
        m_estado.Hm = DadoTraco.field(QStringLiteral("MaodeObra")).toDouble();
    });
    inserindo = false;
    alterando = true;
    if (Pasta->currentIndex() == 0)
        Combo[0]->setFocus();
    else if (Pasta->currentIndex() == 1)
        Combo[2]->setFocus();
    ReCalculo();
}

void FormTraco::Excluindo()
{
    if (totalRegistros < 1) {
        Dialogs::aviso(QStringLiteral("Não tem nenhum registro"), QStringLiteral("Excluir"),
                       Dialogs::Icone::Informacao);
        return;
    }
    if (Dialogs::atual().mensagem(QStringLiteral("Apaga este Traço de Concreto?"), QStringLiteral("Excluir Traço"),
                                  Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNao,
                                  Dialogs::Resposta::Sim) != Dialogs::Resposta::Sim)
        return;
    try {
        const QVariant codigoCampo = DadoTraco.field(QStringLiteral("CodigoTraco"));
        if (codigoCampo.isNull())
            throw DbError(platform::UsoInvalidoDeNulo);
        const qint64 codigo = codigoCampo.toLongLong();
        const QString nome = DadoTraco.field(QStringLiteral("NomeTraco")).toString();
        const int variante = DadoTraco.field(QStringLiteral("TracoVariante")).toInt();
        const bool emUso = DadoTraco.field(QStringLiteral("Plantao")).toBool();

        platform::Transaction transacao(m_db);
        const int produtos = TracoUsando(codigo);
        const int linhas = ContandoVariantes(codigo);
        bool permitido = true;
        if (produtos != 0 && emUso)
            permitido = TrocandoPlantao(nome, variante, QStringLiteral("Excluir"));
        if (!permitido) {
            transacao.commit(); // the mark stays on the only row, as it was
            mostraAvisos(true);
            MostraNumero();
            return;
        }
        DadoTraco.deleteCurrent();
        transacao.commit();
        mostraAvisos(true);
        if (linhas == 1) {
            const int p = ProcuraNaLista(Combo[0], nome);
            if (p > 0)
                Combo[0]->removeItem(p - 1);
        }
        DadoTraco.moveNext();
        if (DadoTraco.eof()) {
            DadoTraco.moveLast();
            posicao = totalRegistros;
        } else {
            posicao = DadoTraco.absolutePosition() + 1;
        }
        if (totalRegistros == 1)
            posicao = 1;
        if (totalRegistros == 0)
            posicao = 0;
        MostraNumero();
    } catch (const DbError& erro) {
        mostraAvisos(false);
        if (erro.numero() == platform::UsoInvalidoDeNulo)
            return;
        if (erro.numero() == platform::SemRegistroCorrente) {
            Dialogs::aviso(QStringLiteral("Excluindo o último Registro"), QStringLiteral("Excluindo Traço"),
                           Dialogs::Icone::Nenhum);
            m_estado.limpa();
            return;
        }
        platform::MostraErro(QStringLiteral("Excluindo Registro"), erro.numero(), erro.descricao());
    }
}

// ---- Saving ----

void FormTraco::corrigeONome(const QString& texto, const QString& titulo, Dialogs::Icone icone)
{
    // Yes: back to the name, the record stays open. No: the insert or edit is cancelled.
    if (Dialogs::atual().mensagem(texto, titulo, icone, Dialogs::Botoes::SimNao, Dialogs::Resposta::Sim) ==
        Dialogs::Resposta::Sim) {
        Pasta->setCurrentIndex(0);
        Combo[0]->setFocus();
    } else {
        Gravando(1);
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
        return widgets::recusa(Pasta, Combo[0],
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

void FormTraco::gravaCampos(bool novo, const QString& nome)
{
    const calc::CalcState& s = m_estado;
    const auto campo = [this](const char* nomeCampo, const QVariant& valor) {
        DadoTraco.setField(QLatin1String(nomeCampo), valor);
    };
    const auto calculado = [&](const char* nomeCampo) {
        campo(nomeCampo, calc::fieldValue(s, QLatin1String(nomeCampo)));
    };

    if (novo)
        campo("NomeTraco", nome);
    campo("DataCadastro", dataGravada(TextoC[3]->text()));
    campo("DataCotacao", dataGravada(TextoC[4]->text()));
    campo("Atualizado", false);
    campo("Classe", ClasseCimento->currentText().trimmed());
    campo("ReducaoAgua", TextoC[5]->text().trimmed());
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

    // The results, the batch and the cubic metre as the last recalculation left them.
    for (const char* nomeCampo : {"Fator",
                                  "Peso",
                                  "RelAgregCimento",
                                  "PesoTraco",
                                  "PropMassa",
                                  "PropVolume",
                                  "Resistencia",
                                  "PrecoCustoSemPerda",
                                  "Perda",
                                  "PrecoCustoComPerda",
                                  "TracoCimento",
                                  "Cimento",
                                  "TracoAreiaFina",
                                  "AreiaFina",
                                  "TracoAreiaGrossa",
                                  "AreiaGrossa",
                                  "TracoGraudoQde1",
                                  "Graudo1",
                                  "TracoGraudoQde2",
                                  "Graudo2",
                                  "TracoAditivoQde1",
                                  "AditivoQde1",
                                  "TracoAditivoQde2",
                                  "AditivoQde2",
                                  "TracoAguaAdic",
                                  "AguaAdic",
                                  "TracoAgua",
                                  "Agua",
                                  "TracoMaoDeObra",
                                  "MaodeObra"})
        calculado(nomeCampo);

    // Product codes: the product each list shows, when its row holds a quantity; none otherwise.
    const std::array<double, 10> porTraco = s.porTraco();
    const std::array<std::pair<int, const char*>, 5> codigos{{{0, "TracoCimentoCod"},
                                                              {3, "TracoGraudoCod1"},
                                                              {4, "TracoGraudoCod2"},
                                                              {5, "TracoAditivoCod1"},
                                                              {6, "TracoAditivoCod2"}}};
    for (const auto& [linha, nomeCampo] : codigos) {
        const QString produto = s.nomes[std::size_t(linha)];
        QVariant codigo = 0;
        if (!produto.trimmed().isEmpty() && porTraco[std::size_t(linha)] != 0.0) {
            const QVariant achado = m_db.scalar(
                QStringLiteral("SELECT CodigoProduto FROM Produtos WHERE NomeProduto = ? ORDER BY rowid LIMIT 1"),
                {produto});
            if (achado.isValid() && !achado.isNull())
                codigo = achado;
        }
        campo(nomeCampo, codigo);
    }
}

void FormTraco::voltaAVisualizar(bool novo)
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
    if (novo) {
        try {
            DadoTraco.moveLast();
        } catch (const DbError&) {
        }
        OrdenarTracos();
    }
    MostraNumero();
    cancelando = false;
}

void FormTraco::Gravando(int botao)
{
    TextoC[1]->setText(Combo[1]->currentText());
    TextoC[2]->setText(Combo[7]->currentText());
    TextoC[5]->setText(Combo[8]->currentText());
    magoPendente = false;
    if (botao == 1) {
        m_estado.limpa();
        cancelando = true;
    } else {
        cancelando = false;
    }
    // The name typed in the name list is the mix's name.
    if (!Combo[0]->isHidden())
        TextoC[0]->setText(Combo[0]->currentText());
    // Blanks around a name are not part of it: "Concreto 25 " is the mix "Concreto 25".
    QString nome = TextoC[0]->text().trimmed();
    bool novo = false;

    const auto voltaAoMarcador = [this] {
        if (marcadorSalvo.isValid()) {
            try {
                DadoTraco.setBookmark(marcadorSalvo);
            } catch (const DbError&) {
            }
        }
    };

    if (inserindo) {
        if (botao == 1) {
            cancelando = true;
            DadoTraco.cancelUpdate();
            if (totalRegistros == 0) {
                posicao = 0;
                emit registro(QStringLiteral("Registro 0/0"));
            }
            voltaAoMarcador();
        } else if (botao == 0) {
            if (!nomeAceito(nome) || !tracoAceito())
                return;
            try {
                platform::Transaction transacao(m_db);
                const int naLista = ProcuraNaLista(Combo[0], nome);
                std::optional<qint64> codigoDoNome;
                if (naLista < 1) {
                    DadoTraco.setField(QStringLiteral("TracoVariante"), 0);
                    RotVar->setText(QStringLiteral("00"));
                } else {
                    nome = Combo[0]->itemText(naLista - 1); // the name as the catalogue writes it
                    const int n = NumeroVariante(nome);
                    DadoTraco.setField(QStringLiteral("TracoVariante"), n);
                    RotVar->setText(calc::padded(n, 2));
                    codigoDoNome = CodigoDoNome(nome);
                    if (codigoDoNome)
                        DadoTraco.setField(QStringLiteral("CodigoTraco"), *codigoDoNome);
                }
                if (TracoCorrente->isChecked()) {
                    LimpandoPlantoes(nome);
                    DadoTraco.setField(QStringLiteral("Plantao"), true);
                } else {
                    DadoTraco.setField(QStringLiteral("Plantao"), false);
                }
                gravaCampos(true, nome);
                DadoTraco.update();
                if (naLista < 1) {
                    // The first row of a name gives the name its code: its own number.
                    const QVariant codigo = DadoTraco.lastModified();
                    m_db.exec(QStringLiteral("UPDATE Tracos SET CodigoTraco = Codigo WHERE rowid = ?"), {codigo});
                }
                transacao.commit();
                if (naLista < 1)
                    insereNome(nome);
                ++totalRegistros;
                novo = true;
            } catch (const DbError& erro) {
                // Nothing was written; the insert stays open with what the user typed.
                platform::MostraErro(QStringLiteral("Gravando"), erro.numero(), erro.descricao());
                return;
            }
        }
    } else if (alterando) {
        if (botao == 1) {
            cancelando = true;
            DadoTraco.cancelUpdate();
            if (!marcadorSalvo.isValid())
                m_estado.limpa();
            else
                voltaAoMarcador();
        } else if (botao == 0) {
            if (!nomeAceito(nome))
                return;
            const bool renomeado = nome != nomeAntigo.trimmed();
            if (renomeado) {
                const int p = ProcuraNaLista(Combo[0], nome);
                if (p > 0 && !mesmoNome(Combo[0]->itemText(p - 1), nomeAntigo)) {
                    corrigeONome(QStringLiteral("Não pode ser este nome.") + CR +
                                     QStringLiteral("Pois o mesmo já existe.") + CR + CR +
                                     QStringLiteral("Quer digitar outro nome?"),
                                 QStringLiteral("Traço Existente"), Dialogs::Icone::Informacao);
                    return;
                }
            }
            if (!tracoAceito())
                return;
            try {
                platform::Transaction transacao(m_db);
                if (renomeado) {
                    RenomeandoNomes(nome, nomeAntigo);
                    DadoTraco.setField(QStringLiteral("NomeTraco"), nome);
                }
                if (TracoCorrente->isChecked()) {
                    LimpandoPlantoes(nome);
                    DadoTraco.setField(QStringLiteral("Plantao"), true);
                } else if (estavaEmUso) {
                    const qint64 codigo = DadoTraco.field(QStringLiteral("CodigoTraco")).toLongLong();
                    const int variante = DadoTraco.field(QStringLiteral("TracoVariante")).toInt();
                    if (TracoUsando(codigo) < 1) {
                        DadoTraco.setField(QStringLiteral("Plantao"), false);
                    } else {
                        const bool passou = TrocandoPlantao(nome, variante, QStringLiteral("Alterar"));
                        DadoTraco.setField(QStringLiteral("Plantao"), !passou);
                    }
                } else {
                    DadoTraco.setField(QStringLiteral("Plantao"), false);
                }
                gravaCampos(false, nome);
                DadoTraco.update();
                transacao.commit();
                mostraAvisos(true);
                if (renomeado) {
                    const int p = ProcuraNaLista(Combo[0], nomeAntigo);
                    if (p > 0)
                        Combo[0]->removeItem(p - 1);
                    insereNome(nome);
                }
            } catch (const DbError& erro) {
                mostraAvisos(false);
                platform::MostraErro(QStringLiteral("Gravando"), erro.numero(), erro.descricao());
                return;
            }
        }
    }
    voltaAVisualizar(novo);
}

} // namespace catalogue
