// What the wizard's buttons do: moving between the pages, the checks of the answers and the design of the mix.
#include "mago.h"
#include "resumo.h"

#include "calc/abrams.h"
#include "calc/consistency.h"
#include "calc/dosage.h"
#include "calc/durability.h"
#include "calc/formats.h"
#include "calc/numericentry.h"
#include "calc/opcoes.h"
#include "calc/physicaldata.h"
#include "calc/recalculo.h"
#include "calc/strength.h"
#include "catalogue/consultas.h"
#include "charts/graficoabrams.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "widgets/caixatexto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace wizard {

namespace {

using desktop::Dialogs;

const QString kAvancar = QStringLiteral("&Avançar >");
const QString kImprimir = QStringLiteral("Im&primir");
const QString kConcluir = QStringLiteral("&Concluir");
const QString kCopiar = QStringLiteral("Copiar Traço");

// The titles and texts of the question pages; "\r" breaks a line.
struct Passo
{
    QString titulo;
    QString conteudo;
};

const std::array<Passo, 5>& passos()
{
    static const std::array<Passo, 5> lista{{
        {QStringLiteral("Dosagem do Concreto"),
         QStringLiteral("Os passos seguintes guiarão o usuário a obter uma composição do concreto ou traço.\r"
                        "A dosagem do concreto é o procedimento pelo qual se determinam as proporções de cimento, "
                        "água, agregados e aditivos que resultem numa mistura que tenha as características "
                        "necessárias tanto no estado fresco quanto depois de endurecida.\r\r"
                        "Digite o nome do traço, e a resistência desejada.")},
        {QStringLiteral("Produção do Concreto"),
         QStringLiteral("Escolha a classe de cimento que irá utilizar e caso empregue um aditivo superplastificante, "
                        "escolha a redução de água que deseja, em seguida faça uma opção da forma que se produzirá "
                        "o concreto.")},
        {QStringLiteral("Consistência e Agregados"),
         QStringLiteral("A consistência é determinada através do abatimento do concreto, que depende das formas do "
                        "agregado graúdo.\r")},
        {QStringLiteral("Relação Agreg.Miúdo/Agreg.Total (%)"),
         QStringLiteral("Esta relação, em geral, se situa entre 35% a 45%, podendo chegar a valores maiores até do "
                        "que 50%.\rPara cada tipo de concreto tem-se uma relação, e ao \rlado pode-se variar para "
                        "baixo ou para cima esta relação.  Estas proporções se aplicam quando se utiliza areia "
                        "média.  Quando se utiliza uma areia muito fina, recomenda-se aumentar esta relação e "
                        "diminuir se a areia for grossa.\r")},
        {QStringLiteral("Massas dos Componentes"),
         QStringLiteral("Aqui deve-se informar as massas específicas e aparentes do cimento, dos agregados e a umidade "
                        "do agregado miúdo (areia).")},
    }};
    return lista;
}

// What leaving page 0 may find, each with its message; the strength codes replace the name's.
enum CodigoPagina0 {
    SemAviso = 0,
    NomeEmBranco = 1,
    ResistenciaZero = 2,
    ResistenciaBaixa = 3,
    ResistenciaMuitoAlta = 4,
    ResistenciaAlta = 5,
};

// The usual strengths; outside them the wizard warns, and above the highest it refuses.
constexpr double kResistenciaMinima = 9.0;
constexpr double kResistenciaAlta = 50.0;
constexpr double kResistenciaMaxima = 100.0;

void seleciona(QButtonGroup* grupo, int indice)
{
    if (QAbstractButton* opcao = grupo->button(indice))
        opcao->setChecked(true);
}

// The moisture's place among the physical data, after the six masses.
constexpr int kUmidade = 6;

// The pointer shows busy while the mix is designed and its sheet composed.
class CursorOcupado
{
public:
    CursorOcupado() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorOcupado() { QApplication::restoreOverrideCursor(); }
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;
};

} // namespace

void Mago::defineEstado(calc::CalcState* estado)
{
    m_estado = estado ? estado : &m_estadoProprio;
}

QString Mago::reducaoDeAgua() const
{
    return m_plastificanteCombo->currentText();
}

calc::WizardAnswers Mago::respostas() const
{
    calc::WizardAnswers a;
    a.NomeTraco = m_nomeTraco->currentText();
    // The strength box takes a decimal comma like every other number box.
    a.Resistencia = calc::PontoDecimal(m_resistencia->text());
    a.ClasseCimento = m_classeCimento->currentText();
    a.PlastificanteOpcao = m_plastificanteOpcao->isChecked();
    a.PlastificanteCombo = m_plastificanteCombo->currentText();
    a.OpcaoForma = m_opcaoForma->checkedId();
    a.Abatimento = m_abatimento->currentText();
    a.AgregadoGraudo = m_agregadoGraudo->currentText();
    a.OpcaoTextura = m_opcaoTextura->checkedId();
    a.TipoConcreto = m_tipoConcreto->checkedId();
    a.ClasseAgressividade = m_classeAgressividade->currentIndex();
    a.Estrutura = m_estrutura->currentIndex();
    for (int i = 0; i < int(m_texto.size()); ++i)
        a.Texto[i] = m_texto[i]->text();
    a.UmidadeAreia = m_umidadeAreia->text();
    return a;
}

calc::ConsistencyLimits Mago::limites() const
{
    return m_limites ? m_limites() : calc::ConsistencyLimits{};
}

void Mago::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

void Mago::Form_Activate()
{
    const calc::Padroes ref = m_referencias ? m_referencias() : calc::Padroes::inicial();

    // A new design: the mix, its names and the remembered ratio positions start afresh.
    calc::openWizard(*m_estado, calc::readNumber(ref.textos[calc::Padroes::MaoDeObra]));
    m_estado->nomes.fill(QString());
    m_estado->unidades.fill(QString());

    for (int i = 0; i < int(m_texto.size()); ++i)
        m_texto[i]->setText(calc::physicalText(i, ref.textos[std::size_t(i)]));
    m_umidadeAreia->setText(calc::physicalText(kUmidade, ref.textos[calc::Padroes::Umidade]));
    seleciona(m_opcaoTextura, ref.opcaoTextura);
    seleciona(m_opcaoForma, ref.opcaoForma);
    seleciona(m_tipoConcreto, ref.tipoConcreto);
    m_classeAgressividade->setCurrentIndex(ref.classeAgressividade >= 0 &&
                                                   ref.classeAgressividade < m_classeAgressividade->count()
                                               ? ref.classeAgressividade
                                               : 0);
    m_estrutura->setCurrentIndex(ref.estrutura == 1 ? 1 : 0);
    m_classeAceita.clear();
    mostraLimites();
    const QString classe = ref.classe.trimmed();
    if (m_classeCimento->findText(classe) < 0)
        m_classeCimento->addItem(classe);
    m_classeCimento->setCurrentText(classe);

    m_magoPendente = false;
    m_temQuantidades = false;
    setWindowTitle(legenda());
    m_ultimoBotao = nullptr;
    for (QComboBox* lista : m_concretoTipo) {
        lista->clear();
        lista->hide();
    }
    if (m_folha) {
        delete m_folha;
        m_folha = nullptr;
    }

    // The names already in the catalogue are offered, so that a variant of one is easy to design.
    m_nomeTraco->clear();
    platform::Database& banco = m_db;
    if (banco.isOpen()) {
        try {
            QSqlQuery q = banco.exec(catalogue::Consultas::nomesDistintos(banco).sql);
            QStringList nomes;
            while (q.next())
                nomes.append(q.value(0).toString());
            m_nomeTraco->addItems(nomes);
        } catch (const platform::DbError& erro) {
            desktop::MostraErro(QStringLiteral("Mago - Form_Activate"), erro.numero(), erro.descricao());
        }
    }
    m_nomeTraco->setCurrentIndex(-1);
    m_nomeTraco->clearEditText();

    mostraPagina(0);
    m_nomeTraco->setFocus();
}

void Mago::MostraPasso()
{
    if (m_pagina < 0 || m_pagina >= int(passos().size()))
        return;
    m_titulo[m_pagina]->setText(passos()[m_pagina].titulo);
    // A label breaks lines at "\n" only.
    QString conteudo = passos()[m_pagina].conteudo;
    m_conteudo[m_pagina]->setText(conteudo.replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

// Shows a page with the buttons that belong to it: back from every page but the first, forward up to the
// physical data, finishing from the physical data, and printing and copying on the result page.
void Mago::mostraPagina(int pagina)
{
    m_pagina = pagina;
    m_painel->setCurrentIndex(pagina);
    const bool resultado = pagina == PaginaDoResultado;
    m_botao[Voltar]->setEnabled(pagina > 0);
    m_botao[Avancar]->setText(resultado ? kImprimir : kAvancar);
    m_botao[Avancar]->setEnabled(resultado ? m_temQuantidades : pagina < PaginaDoResultado - 1);
    m_botao[Concluir]->setText(resultado ? kCopiar : kConcluir);
    m_botao[Concluir]->setEnabled(resultado ? m_temQuantidades : pagina == PaginaDoResultado - 1);
    for (int i = 0; i < NumeroDePaginas; ++i) {
        QFont fonte = m_guia[i]->font();
        fonte.setBold(i == pagina);
        m_guia[i]->setFont(fonte);
        m_guia[i]->setEnabled(i <= pagina);
    }
    // The consistency limits may have changed since the slump was typed.
    if (pagina == 2)
        mostraConsistencia();
    MostraPasso();
}

void Mago::BotaoAssiste_Click(int indice)
{
    desktop::TocaSom(desktop::Som::MouseClica);
    switch (indice) {
    case Voltar:
        volta();
        break;
    case Avancar:
        avanca();
        break;
    case Concluir:
        if (m_botao[Concluir]->text() == kCopiar)
            copiaTraco();
        else
            conclui();
        break;
    case Fechar:
        reject();
        break;
    }
}

void Mago::volta()
{
    if (m_pagina <= 0)
        return;
    mostraPagina(m_pagina - 1);
    focaPrimeiroControle();
}

void Mago::avanca()
{
    if (m_botao[Avancar]->text() == kImprimir) {
        if (m_impressao && m_folha)
            m_impressao(m_folha, *m_estado);
        return;
    }
    if (m_pagina >= PaginaDoResultado - 1)
        return;
    const int pagina = m_pagina + 1;
    if (pagina == 1) {
        const int codigo = verificaPagina0();
        if (codigo != SemAviso) {
            avisaPagina0(codigo);
            return;
        }
    }
    // The strength is weighed against the class on leaving it and on leaving the class's page.
    if ((pagina == 1 || pagina == 4) && !resistenciaDaClasse())
        return;
    mostraPagina(pagina);
    // Arriving at the ratio page proposes the ratios of the strength, water and use chosen so far.
    if (pagina == 3)
        CalculaDosagem();
    focaPrimeiroControle();
}

int Mago::verificaPagina0() const
{
    int codigo = SemAviso;
    if (m_nomeTraco->currentText().trimmed().isEmpty())
        codigo = NomeEmBranco;
    const double s = m_resistencia->numero();
    if (s == 0.0)
        codigo = ResistenciaZero;
    else if (s < kResistenciaMinima)
        codigo = ResistenciaBaixa;
    else if (s > kResistenciaMaxima)
        codigo = ResistenciaMuitoAlta;
    else if (s > kResistenciaAlta)
        codigo = ResistenciaAlta;
    return codigo;
}

void Mago::avisaPagina0(int codigo)
{
    struct Aviso
    {
        QString titulo;
        QString texto;
        Dialogs::Icone icone;
        bool segue; // only a warning: the wizard goes on to page 1
    };
    static const std::array<Aviso, 6> avisos{{
        {},
        {QStringLiteral("Nome do Traço em Branco"),
         QStringLiteral("O nome do traço não pode ficar em branco\rColoque um por ex.: Mourão para Cerca"),
         Dialogs::Icone::Informacao, false},
        {QStringLiteral("Resistência Zero"), QStringLiteral("A resistência não pode ser zero"), Dialogs::Icone::Nenhum,
         false},
        {QStringLiteral("Resistencia considerada baixa"), QStringLiteral("A resistência não é baixa?"),
         Dialogs::Icone::Nenhum, true},
        {QStringLiteral("Resistencia muito Alta"), QStringLiteral("A resistência muito alta!"), Dialogs::Icone::Nenhum,
         false},
        {QStringLiteral("Resistencia considerada alta"), QStringLiteral("A resistência não é alta?"),
         Dialogs::Icone::Nenhum, true},
    }};
    const Aviso& aviso = avisos.at(std::size_t(codigo));
    mostraPagina(0);
    Dialogs::aviso(aviso.texto, aviso.titulo, aviso.icone);
    if (aviso.segue) {
        mostraPagina(1);
        focaPrimeiroControle();
    } else if (codigo == NomeEmBranco) {
        m_nomeTraco->setFocus();
    } else {
        m_resistencia->setFocus();
    }
}

bool Mago::VerificaValores()
{
    if (m_resistencia->numero() == 0.0) {
        mostraPagina(0);
        m_resistencia->setFocus();
        Dialogs::aviso(QStringLiteral("Falta inserir a resistência do concreto."), QStringLiteral("Falta Resistência"),
                       Dialogs::Icone::Nenhum);
        return false;
    }
    for (widgets::CaixaTexto* caixa : m_texto) {
        if (caixa->numero() == 0.0) {
            mostraPagina(PaginaDoResultado - 1);
            caixa->setFocus();
            Dialogs::aviso(QStringLiteral("Faltou inserir massa."), QStringLiteral("Falta o valor da Massa"),
                           Dialogs::Icone::Nenhum);
            return false;
        }
    }
    return true;
}

void Mago::conclui()
{
    if (!VerificaValores() || m_pagina == PaginaDoResultado)
        return;
    calculaTraco();
    mostraPagina(PaginaDoResultado);
    if (!m_temQuantidades)
        Dialogs::aviso(textoSemCimento(m_estado->nomes[0]), tituloSemCimento(), Dialogs::Icone::Exclamacao);
}

void Mago::copiaTraco()
{
    m_magoPendente = true;
    accept();
}

void Mago::CalculaDosagem()
{
    const calc::WizardAnswers a = respostas();
    calc::CalculaDosagem(*m_estado, a, limites());
    m_grafico->mostra(calc::abramsDoAssistente(*m_estado));
    for (QComboBox* lista : m_concretoTipo)
        lista->hide();
    if (a.TipoConcreto < 0 || a.TipoConcreto >= int(m_concretoTipo.size()))
        return;
    // The ratio proposed with one point below and one above, at the position last chosen for this use.
    QComboBox* lista = m_concretoTipo[a.TipoConcreto];
    m_preenchendoRelacoes = true;
    lista->clear();
    for (double relacao : m_estado->relacoes)
        lista->addItem(calc::formatFull(relacao));
    lista->setCurrentIndex(m_estado->posicaoRelacao[a.TipoConcreto]);
    m_preenchendoRelacoes = false;
    lista->show();
}

void Mago::mostraLimites()
{
    const auto limites =
        calc::limitesDurabilidade(m_classeAgressividade->currentIndex(), calc::Estrutura(m_estrutura->currentIndex()));
    if (!limites) {
        m_limitesDaClasse->setText(QStringLiteral("Sem classe: a água/cimento vem só da resistência."));
        return;
    }
    const QLocale local;
    m_limitesDaClasse->setText(
        QStringLiteral("Água/cimento máxima %1, resistência mínima C%2, consumo mínimo de cimento %3 kg/m³.")
            .arg(local.toString(limites->wcMax, 'f', 2))
            .arg(limites->fckMin)
            .arg(local.toString(limites->consumoMin, 'f', 0)));
}

bool Mago::resistenciaDaClasse()
{
    const int classe = m_classeAgressividade->currentIndex();
    const int estrutura = m_estrutura->currentIndex();
    const auto limites = calc::limitesDurabilidade(classe, calc::Estrutura(estrutura));
    const double fck = m_resistencia->numero();
    const QString escolha = QStringLiteral("%1/%2/%3").arg(classe).arg(estrutura).arg(fck);
    if (!limites || fck <= 0.0 || fck >= limites->fckMin || escolha == m_classeAceita)
        return true;
    const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
        QStringLiteral("A resistência de %1 MPa é menor que a mínima da classe de agressividade %2 para %3: C%4.\r"
                       "Deseja voltar e aumentar a resistência?")
            .arg(QLocale().toString(fck))
            .arg(calc::Opcoes::agressividade().at(std::size_t(classe)).texto,
                 calc::Opcoes::estrutura().at(std::size_t(estrutura)).texto)
            .arg(limites->fckMin),
        QStringLiteral("Resistência abaixo da classe"), Dialogs::Icone::Exclamacao, Dialogs::Botoes::SimNao,
        Dialogs::Resposta::Sim);
    if (resposta != Dialogs::Resposta::Sim) {
        m_classeAceita = escolha;
        return true;
    }
    mostraPagina(0);
    m_resistencia->setFocus();
    m_resistencia->selectAll();
    return false;
}

void Mago::relacaoEscolhida(int uso, int posicao)
{
    if (!m_preenchendoRelacoes && posicao >= 0)
        m_estado->posicaoRelacao[uso] = qint16(posicao);
}

void Mago::calculaTraco()
{
    CursorOcupado ocupado;
    CalculaDosagem();
    m_temQuantidades = calc::CalculaQuantidades(*m_estado, respostas(), pesoDoSaco());
    calc::CalculaProporcoes(*m_estado);
    montaFolha();
}

std::optional<double> Mago::pesoDoSaco()
{
    // The bag is that of the first cement product of the class: "Cimento 32" before any other, then names such as
    // "Cimento CP II-32". The mix names the cement found.
    platform::Database& banco = m_db;
    const QString classe = m_estado->classe.trimmed();
    if (!banco.isOpen() || classe.isEmpty())
        return std::nullopt;
    try {
        const catalogue::Consulta daClasse = catalogue::Consultas::produtosComTrecho(banco, classe);
        QSqlQuery q = banco.exec(daClasse.sql, daClasse.valores);
        QStringList nomes;
        QList<double> pesos;
        while (q.next()) {
            nomes.append(q.value(0).toString());
            pesos.append(q.value(1).toDouble());
        }
        const int i = calc::cimentoDaClasse(nomes, classe);
        if (i >= 0) {
            m_estado->nomes[0] = nomes[i];
            if (pesos[i] > 0.0)
                return pesos[i];
        }
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(QStringLiteral("Mago - CalculaQuantidades"), erro.numero(), erro.descricao());
    }
    return std::nullopt;
}

// The result page: the application's sheet preview when it gives one, otherwise a summary. Without a bag mass
// there are no quantities to show, only why.
void Mago::montaFolha()
{
    delete m_folha;
    m_folha = nullptr;
    if (m_temQuantidades && m_fabricaDeFolha)
        m_folha = m_fabricaDeFolha(*m_estado, m_painel->widget(PaginaDoResultado));
    if (!m_folha) {
        auto* resumo = new QTextBrowser;
        resumo->setObjectName(QStringLiteral("Resumo"));
        resumo->setOpenLinks(false);
        if (m_temQuantidades) {
            resumo->setHtml(resumoDoTraco(*m_estado));
        } else {
            resumo->setHtml(QStringLiteral("<h3>%1</h3><p>%2</p>")
                                .arg(tituloSemCimento(), textoSemCimento(m_estado->nomes[0])
                                                             .toHtmlEscaped()
                                                             .replace(QLatin1Char('\r'), QStringLiteral("<br>"))));
        }
        m_folha = resumo;
    }
    if (m_folha->accessibleName().isEmpty())
        m_folha->setAccessibleName(QStringLiteral("Traço Experimental"));
    m_areaDaFolha->addWidget(m_folha);
    // The caption names the mix whose sheet is shown; finishing again names the new one in its place.
    setWindowTitle(m_temQuantidades
                       ? legenda() + QStringLiteral(" [") + m_estado->nomeTraco.trimmed() + QStringLiteral("]")
                       : legenda());
}

void Mago::focaPrimeiroControle()
{
    switch (m_pagina) {
    case 0:
        m_nomeTraco->setFocus();
        break;
    case 1:
        m_classeCimento->setFocus();
        break;
    case 2:
        m_abatimento->setFocus();
        break;
    case 3:
        if (QAbstractButton* uso = m_tipoConcreto->checkedButton())
            uso->setFocus();
        break;
    case 4:
        m_texto[0]->setFocus();
        break;
    default:
        m_botao[Concluir]->setFocus();
        break;
    }
}

void Mago::mostraConsistencia()
{
    m_consistencia->setText(QStringLiteral("Consistência: ") +
                            calc::ClasseConsistencia(m_abatimento->currentText(), limites()));
}

void Mago::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Escape:
            m_botao[Fechar]->click();
            return;
        // Enter moves on as Tab does; on a button the button itself takes it.
        case Qt::Key_Return:
        case Qt::Key_Enter:
            focusNextChild();
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool Mago::focusNextPrevChild(bool next)
{
    QWidget* pagina = m_painel->currentWidget();
    QWidget* antes = focusWidget();
    const bool naPagina = antes && pagina->isAncestorOf(antes);
    const bool movido = QDialog::focusNextPrevChild(next);
    QWidget* depois = focusWidget();
    // Enter, Enter through the answers must not reach Fechar and lose them.
    if (next && naPagina && depois && !pagina->isAncestorOf(depois)) {
        for (const int botao : {Avancar, Concluir}) {
            if (m_botao[botao]->isEnabled()) {
                m_botao[botao]->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    return movido;
}

bool Mago::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::Enter && objeto != m_ultimoBotao) {
        m_ultimoBotao = objeto;
        desktop::TocaSom(desktop::Som::MouseMove);
    }
    return QDialog::eventFilter(objeto, evento);
}

} // namespace wizard
