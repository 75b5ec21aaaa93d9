// The mix form while a mix is inserted or edited: every change of a box or a list goes into the calculation state
// and the mix is recalculated and shown again.
#include "catalogue/tabelaprodutos.h"
#include "formtraco.h"

#include "calc/calcstate.h"
#include "calc/consistency.h"
#include "calc/durability.h"
#include "calc/emissaoco2.h"
#include "calc/formats.h"
#include "calc/numericentry.h"
#include "calc/physicaldata.h"
#include "calc/recalculo.h"
#include "calc/strength.h"
#include "calc/wizardanswers.h"
#include "platform/clock.h"
#include "widgets/caixatexto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalBlocker>

#include <cmath>

namespace mixform {

namespace {

const QString kNenhum = QStringLiteral("* Nenhum *");

QStringList itensDe(const QComboBox* lista)
{
    QStringList itens;
    for (int i = 0; i < lista->count(); ++i)
        itens.append(lista->itemText(i));
    return itens;
}

// Runs the window's own writes with the recalculation flag up, so that they start no recalculation.
class Recalculando
{
public:
    explicit Recalculando(calc::CalcState& estado) : m_estado(estado), m_antes(estado.recalculando)
    {
        m_estado.recalculando = true;
    }
    ~Recalculando() { m_estado.recalculando = m_antes; }

private:
    calc::CalcState& m_estado;
    bool m_antes;
};

} // namespace

void FormTraco::ligaEventos()
{
    m_tabelaProdutos = std::make_unique<TabelaProdutos>(m_db);
    m_produtos = std::make_unique<catalogue::ProdutosLembrados>(*m_tabelaProdutos);
    tracos().setValidacao([this](int acao, bool& salvar) { validacao(acao, salvar); });
    for (int i = 0; i < 10; ++i) {
        connect(TextoT[i], &QLineEdit::textEdited, this, [this, i] { alteraTextoT(i); });
        connect(TextoM[i], &QLineEdit::textEdited, this, [this, i] { alteraTextoM(i); });
    }
    for (int i = 0; i < 7; ++i)
        connect(Texto[i], &QLineEdit::textEdited, this, [this] { ReCalculo(); });
    connect(Combo[ListaConsistencia], &QComboBox::currentIndexChanged, this, [this] {
        preencheAbatimentos();
        ReCalculo();
    });
    for (int lista : {2, 3, 4, 5, 6})
        connect(Combo[lista], &QComboBox::currentIndexChanged, this, [this, lista] { escolheMaterial(lista); });
    connect(Combo[ListaAbatimento], &QComboBox::currentIndexChanged, this, [this] {
        // The slump chosen is the one saved.
        if (!m_estado.recalculando)
            TextoC[CaixaAbatimento]->setText(Combo[ListaAbatimento]->currentText());
        ReCalculo();
    });
    connect(Combo[ListaReducao], &QComboBox::currentIndexChanged, this, [this] { alteraReducao(); });
    connect(ClasseCimento, &QComboBox::currentTextChanged, this, [this](const QString& c) { alteraClasse(c); });
    for (int i = 0; i < 3; ++i) {
        connect(OpcaoForma[i], &QRadioButton::clicked, this, [this, i] { alteraForma(i); });
        connect(OpcaoTextura[i], &QRadioButton::clicked, this, [this] { ReCalculo(); });
    }
    connect(Custo[CustoPerda], &QLineEdit::textEdited, this, [this] { alteraPerda(); });
    connect(TracoCorrente, &QCheckBox::clicked, this, [this] { clicaTracoCorrente(); });
    connect(Combo[ListaNome], &QComboBox::editTextChanged, this, [this] { confereNome(); });
}

void FormTraco::preencheAbatimentos()
{
    const calc::SlumpList lista = calc::slumpList(Combo[ListaConsistencia]->currentText(), limites());
    Combo[ListaAbatimento]->blockSignals(true);
    Combo[ListaAbatimento]->clear();
    Combo[ListaAbatimento]->addItems(lista.values);
    Combo[ListaAbatimento]->setCurrentIndex(lista.selected);
    Combo[ListaAbatimento]->blockSignals(false);
}

void FormTraco::alteraTextoT(int linha)
{
    if (m_estado.recalculando || CompT[linha]->text().trimmed().isEmpty())
        return;
    const double valor = calc::readNumber(TextoT[linha]->text());
    const bool volume = m_estado.emVolume();
    switch (linha) {
    case 0:
        (volume ? m_estado.Lc : m_estado.Mc) = valor;
        break;
    case 1:
        (volume ? m_estado.Lfs : m_estado.Mfs) = valor;
        break;
    case 2:
        (volume ? m_estado.Lcs : m_estado.Mcs) = valor;
        break;
    case 3:
        (volume ? m_estado.Lg1 : m_estado.Mg1) = valor;
        break;
    case 4:
        (volume ? m_estado.Lg2 : m_estado.Mg2) = valor;
        break;
    case 5:
        m_estado.A1 = valor;
        break;
    case 6:
        m_estado.A2 = valor;
        break;
    case 7:
        m_estado.Wa_b = valor;
        break;
    case 8:
        m_estado.W_b = valor;
        break;
    case 9:
        m_estado.H_b = valor;
        break;
    default:
        return;
    }
    m_estado.indiceEdicao = qint16(linha);
    ReCalculo();
}

void FormTraco::alteraTextoM(int linha)
{
    if (m_estado.recalculando || CompM[linha]->text().trimmed().isEmpty())
        return;
    m_estado.indiceEdicao = qint16(linha + 11);
    ReCalculo();
}

QString FormTraco::produtoDaLista(int lista) const
{
    const QString escolhido = Combo[lista]->currentIndex() < 0 ? QString() : Combo[lista]->currentText();
    return escolhido == kNenhum ? QString() : escolhido;
}

void FormTraco::mostraProdutoDaLista(int lista)
{
    const QString nome = produtoDaLista(lista);
    const int linha = lista == 2 ? 0 : lista;
    CompT[linha]->setText(nome);
    CompM[linha]->setText(nome);
    nomeiaLinha(linha);
    if (lista >= 5) {
        // An admixture is measured in its product's own unit.
        const std::optional<calc::ProductInfo> produto = nome.isEmpty() ? std::nullopt : m_produtos->findByName(nome);
        UnidT[linha]->setText(produto ? produto->unit : QString());
        UnidM[linha]->setText(produto ? produto->unit : QString());
    }
}

void FormTraco::legendasDasListas()
{
    for (int lista : {2, 3, 4, 5, 6})
        mostraProdutoDaLista(lista);
}

void FormTraco::escolheMaterial(int lista)
{
    // The row's caption always names the product its list shows: the caption is what is priced and saved.
    if (inserindo || alterando)
        mostraProdutoDaLista(lista);
    if (m_estado.recalculando)
        return;
    if (lista == 2 && !produtoDaLista(2).isEmpty()) {
        // The class is the end of the cement's name: "Cimento 32" is of class 32.
        m_mudandoClasse = true;
        ClasseCimento->setCurrentText(calc::classeDoCimento(produtoDaLista(2)));
        m_mudandoClasse = false;
    }
    ReCalculo();
}

void FormTraco::alteraClasse(const QString& classe)
{
    if (m_estado.recalculando || m_mudandoClasse || !(inserindo || alterando))
        return;
    // The cement of the class typed; none when the products have no cement of that class, so that the mix is
    // computed with the class the window shows.
    const int p = calc::cimentoDaClasse(itensDe(Combo[ListaCimento]), classe);
    {
        Recalculando flag(m_estado);
        Combo[ListaCimento]->setCurrentIndex(p);
    }
    mostraProdutoDaLista(2);
    ReCalculo();
}

void FormTraco::alteraReducao()
{
    if (m_estado.recalculando)
        return;
    const double reducao = calc::readNumber(Combo[ListaReducao]->currentText());
    m_estado.superplastificante = reducao > 0;
    TextoC[CaixaReducao]->setText(Combo[ListaReducao]->currentText());
    ReCalculo();
}

void FormTraco::escolheNumero(QComboBox* lista, const QString& texto)
{
    // Entries are compared as numbers ("05" is the entry "5", "95" the entry "095"); a value the list does not
    // offer is added in its place, so that a stored or designed mix keeps its slump and its reduction.
    Recalculando flag(m_estado);
    const double valor = calc::readNumber(texto);
    int i = 0;
    for (; i < lista->count(); ++i) {
        const double entrada = calc::readNumber(lista->itemText(i));
        if (entrada == valor) {
            lista->setCurrentIndex(i);
            return;
        }
        if (entrada > valor)
            break;
    }
    lista->insertItem(i, texto.trimmed());
    lista->setCurrentIndex(i);
}

void FormTraco::alteraForma(int i)
{
    const QString unidade = i == 0 ? QStringLiteral("Kg") : QStringLiteral("Litros");
    for (int linha = 0; linha <= 4; ++linha) {
        UnidT[linha]->setText(unidade);
        UnidM[linha]->setText(unidade);
    }
    ReCalculo();
}

void FormTraco::alteraPerda()
{
    if (m_estado.recalculando)
        return;
    // Only the cost with losses follows; the prices are not looked up again.
    Custo[CustoPerda]->setProperty("valor", calc::readNumber(Custo[CustoPerda]->text()));
    m_estado.perda = custo(CustoPerda);
    const double comPerda = custo(CustoSemPerda) * (1.0 + custo(CustoPerda) / 100.0);
    Custo[CustoComPerda]->setProperty("valor", comPerda);
    Custo[CustoComPerda]->setText(QLocale().toString(comPerda, 'f', 2));
}

void FormTraco::clicaTracoCorrente()
{
    if (Faixa->isVisible() || !Faixa->isHidden()) {
        TracoCorrente->setChecked(true);
        Betoneira[BetoneiraEmUso]->show();
        Betoneira[BetoneiraParada]->hide();
        return;
    }
    Betoneira[BetoneiraEmUso]->setVisible(TracoCorrente->isChecked());
    Betoneira[BetoneiraParada]->setVisible(!TracoCorrente->isChecked());
}

void FormTraco::clicaBetoneira()
{
    if (!(inserindo || alterando))
        return;
    if (!Faixa->isHidden()) {
        Betoneira[BetoneiraEmUso]->show();
        Betoneira[BetoneiraParada]->hide();
        return;
    }
    const bool emUso = Betoneira[BetoneiraEmUso]->isHidden();
    Betoneira[BetoneiraEmUso]->setVisible(emUso);
    Betoneira[BetoneiraParada]->setVisible(!emUso);
    TracoCorrente->setChecked(emUso);
}

void FormTraco::confereNome()
{
    if (m_janela && m_janela->fechando())
        return;
    if (!(inserindo || alterando))
        return;
    if (m_catalogo.posicaoDoNome(Combo[ListaNome]->currentText()) >= 0) {
        Faixa->hide();
    } else if (inserindo) {
        // The first variant of a name is always the one in use.
        TracoCorrente->setChecked(true);
        Betoneira[BetoneiraEmUso]->show();
        Betoneira[BetoneiraParada]->hide();
        Faixa->show();
    }
}

void FormTraco::leEstadoDaJanela()
{
    calc::CalcState& s = m_estado;
    leDadosFisicos();
    s.dosagem = qint16(selecionado(OpcaoForma));
    if (const int t = selecionado(OpcaoTextura); t >= 0)
        s.textura = qint16(t);
    for (int i = 0; i < 4; ++i) {
        if (TipoConcreto[i]->isChecked())
            s.destino = qint16(i);
    }
    s.classeAgressividade = qint16(std::max(0, ClasseAgressividade->currentIndex()));
    s.estrutura = qint16(std::max(0, Estrutura->currentIndex()));
    // The products are those the lists show; the class is the cement's, or the one typed when no cement is chosen.
    s.nomes[0] = produtoDaLista(2);
    for (int lista : {3, 4, 5, 6})
        s.nomes[lista] = produtoDaLista(lista);
    s.classe = s.nomes[0].isEmpty() ? ClasseCimento->currentText() : calc::textoDaClasse(s.nomes[0]);
    // An admixture row without a product holds no admixture.
    if (s.nomes[5].isEmpty())
        s.A1 = 0.0;
    if (s.nomes[6].isEmpty())
        s.A2 = 0.0;
    // A slump that is not a number keeps the slump the mix had.
    if (const std::optional<double> abatimento = calc::strictNumber(Combo[ListaAbatimento]->currentText())) {
        if (const std::optional<qint16> inteiro = calc::toInt16(std::trunc(*abatimento)))
            s.abatimento = *inteiro;
    }
    s.consistencia = Combo[ListaConsistencia]->currentText();
    const double reducao = calc::readNumber(Combo[ListaReducao]->currentText());
    s.superplastificante = reducao > 0;
    s.r = s.superplastificante ? reducao / 100.0 : 0.0;
    s.perda = custo(CustoPerda);
    s.nomeTraco = Combo[ListaNome]->currentText().trimmed();
}

void FormTraco::ReCalculo()
{
    if (!(inserindo || alterando) || m_estado.recalculando)
        return;
    m_estado.recalculando = true;
    leEstadoDaJanela();
    calc::ReCalculo(m_estado, m_produtos.get());
    mostraCalculo(false);
    m_estado.indiceEdicao = calc::CalcState::semEdicao;
    m_estado.recalculando = false;
}

void FormTraco::mostraCalculo(bool comEditado)
{
    Recalculando flag(m_estado);
    const calc::CalcState& s = m_estado;
    TextoI[0]->mostra(s.peso);
    TextoI[1]->mostra(s.relAgregCimento);
    TextoI[2]->mostra(s.pesoTraco);
    TextoI[3]->mostra(s.propMassa);
    TextoI[4]->mostra(s.propVolume);
    TextoI[5]->mostra(QString::number(s.fck));
    defineCusto(CustoSemPerda, s.custoSemPerda);
    defineCusto(CustoComPerda, s.custoComPerda);
    mostraDurabilidade(s);
    mostraCO2(s);

    const std::array<double, 10> porMetro = s.porMetro();
    const std::array<double, 10> porTraco = s.porTraco();
    for (int i = 0; i < 10; ++i) {
        TextoM[i]->mostra(calc::formatQuantity(porMetro[i]));
        if (comEditado || i != s.indiceEdicao)
            TextoT[i]->mostra(calc::formatQuantity(porTraco[i]));
    }
}

void FormTraco::mostraDurabilidade(const calc::CalcState& s)
{
    for (auto [lista, indice] :
         {std::pair{ClasseAgressividade, int(s.classeAgressividade)}, std::pair{Estrutura, int(s.estrutura)}}) {
        const QSignalBlocker quieto(lista);
        lista->setCurrentIndex(indice >= 0 && indice < lista->count() ? indice : 0);
    }
    const QStringList linhas = calc::linhasDaDurabilidade(s);
    TextoDurabilidade->setText(linhas.isEmpty() ? QStringLiteral("Sem classe de agressividade: nada a verificar.")
                                                : linhas.first() + QLatin1Char('\n') +
                                                      linhas.mid(1).join(QStringLiteral("; ")) + QLatin1Char('.'));
}

void FormTraco::mostraCO2(const calc::CalcState& s)
{
    const calc::EmissaoCO2 emissao = calc::emissaoCO2(s, *m_produtos);
    // Without a single factor there is no figure to give, only what is missing.
    QString texto = emissao.calculavel ? QStringLiteral("CO₂: %1 kg CO₂e/m³").arg(calc::textoCO2(emissao))
                                       : QStringLiteral("CO₂: — (nenhum fator de emissão)");
    QString dica = QStringLiteral("Emissão de CO₂ dos materiais de um metro cúbico, pelos fatores de emissão dos "
                                  "produtos (Fatores de Emissão).");
    if (!emissao.semFator.isEmpty()) {
        if (emissao.calculavel)
            texto += QStringLiteral(" (parcial)");
        // The label keeps the page's width: the whole list is in the tool tip.
        const QString lista = emissao.semFator.join(QStringLiteral(", "));
        texto += QStringLiteral("\nsem fator: ") + TextoCO2->fontMetrics().elidedText(lista, Qt::ElideRight, 260);
        dica += QStringLiteral("\nProdutos sem fator: ") + lista + QLatin1Char('.');
    }
    TextoCO2->setText(texto);
    TextoCO2->setToolTip(dica);
}

void FormTraco::esqueceProdutos()
{
    m_produtos->esquece();
}

void FormTraco::mostraUnidadesSolidos()
{
    const QString unidade = m_estado.emVolume() ? QStringLiteral("Litros") : QStringLiteral("Kg");
    for (int i = 0; i <= 4; ++i) {
        UnidT[i]->setText(unidade);
        UnidM[i]->setText(unidade);
    }
}

void FormTraco::CopiandoTraco(const calc::WizardAnswers& respostas)
{
    m_estado.recalculando = true;
    QCoreApplication::processEvents();
    magoPendente = true;
    Inserindo();
    inserindo = false;
    m_estado.recalculando = true;
    {
        Recalculando flag(m_estado);
        Combo[ListaNome]->setEditText(m_estado.nomeTraco.trimmed());
        const int classe = ProcuraNaLista(Combo[ListaConsistencia], m_estado.consistencia);
        if (classe > 0)
            Combo[ListaConsistencia]->setCurrentIndex(classe - 1);
        preencheAbatimentos();
        escolheNumero(Combo[ListaAbatimento], calc::padded(m_estado.abatimento, 3));
        TextoC[CaixaAbatimento]->setText(Combo[ListaAbatimento]->currentText());
        TextoC[CaixaCadastro]->setText(platform::Clock::hoje().toString(QStringLiteral("dd-MM-yyyy")));
        TextoC[CaixaCotacao]->setText(dataPrecoCusto.toString(QStringLiteral("dd-MM-yyyy")));
        // The reduction the wizard designed with, whether or not the list offers it.
        if (!m_estado.superplastificante)
            m_estado.r = 0.0;
        escolheNumero(Combo[ListaReducao], calc::formatFull(std::round(m_estado.r * 100.0 * 1e9) / 1e9));
        TextoC[CaixaReducao]->setText(Combo[ListaReducao]->currentText());

        // The materials as the wizard took them: its physical data, moisture and options.
        for (int i = 0; i < 6; ++i)
            mostraDadoFisico(i, respostas.Texto[std::size_t(i)]);
        mostraDadoFisico(6, respostas.UmidadeAreia);
        if (m_estado.dosagem >= 0 && m_estado.dosagem < 3)
            OpcaoForma[m_estado.dosagem]->setChecked(true);
        if (m_estado.textura >= 0 && m_estado.textura < 3)
            OpcaoTextura[m_estado.textura]->setChecked(true);
        if (m_estado.destino >= 0 && m_estado.destino < 4)
            TipoConcreto[m_estado.destino]->setChecked(true);

        // The cement the wizard found its bag mass in, and the coarse aggregate of its maximum size.
        const int posCimento = ProcuraNaLista(Combo[ListaCimento], m_estado.nomes[0]);
        Combo[ListaCimento]->setCurrentIndex(
            posCimento > 0 ? posCimento - 1 : calc::cimentoDaClasse(itensDe(Combo[ListaCimento]), m_estado.classe));
        const int posGraudo = ProcuraNaLista(Combo[ListaGraudo1], calc::aggregateForDmax(m_estado.Dmax));
        Combo[ListaGraudo1]->setCurrentIndex(posGraudo - 1);
        Combo[ListaGraudo2]->setCurrentIndex(-1);
        legendasDasListas();
        mostraCalculo(true);
        mostraUnidadesSolidos();
    }
    inserindo = true;
    m_estado.recalculando = false;
    confereNome();
    ReCalculo();
}

} // namespace mixform
