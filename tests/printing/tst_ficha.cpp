#include "fichatestsupport.h"
#include "testregistry.h"

#include "platform/clock.h"
#include "printing/ficha.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using exemplos::com;
using fichatest::estadoDe;
using fichatest::linhaGravada;
using fichatest::paragrafo;
using printing::Alinhamento;
using printing::Documento;
using printing::EstadoImpressora;
using printing::ItemTabela;
using printing::ItemTexto;
using printing::OrigemDaFicha;

namespace {

const QColor kAzul(0, 0, 255);
const QColor kPreto(0, 0, 0);

// The sheet of a stored row, composed as the preview form composes it.
void compoe(Documento& folha, const QVariantMap& linha, const calc::ProductTable* produtos = nullptr)
{
    const calc::CalcState estado = estadoDe(linha, produtos);
    printing::ImprimeTraco(folha, printing::PreparaFolha(folha), estado, OrigemDaFicha::gravado(linha, QString()));
}

QList<double> alturasDe(const Documento& folha, const QString& texto)
{
    QList<double> ys;
    for (const printing::ItemParagrafo& p : folha.paragrafos()) {
        if (p.texto == texto)
            ys.append(p.y);
    }
    return ys;
}

// The component tables: mass per batch, mass per m3, volume per batch, volume per m3.
QList<ItemTabela::Linha> corpoDaTabela(const Documento& folha, int indice)
{
    return folha.tabelas().at(indice).corpo();
}

} // namespace

class TestFicha : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headings_data();
    void headings();
    void strength_data();
    void strength();
    void noCoarseSand_data();
    void noCoarseSand();
    void admixtureRows_data();
    void admixtureRows();
    void labour();
    void readingSentence();
    void sheetHeaderAndCostLines_data();
    void sheetHeaderAndCostLines();
    void positions_data();
    void positions();
    void tablesSideBySide();
    void proportionLines();
    void characteristicLines_data();
    void characteristicLines();
    void massesTable();
    void nothingOverlaps_data();
    void nothingOverlaps();
    void numberPatterns_data();
    void numberPatterns();
    void noPrinter();
    void logo();
};

void TestFicha::init()
{
    platform::Clock::fixa(QDateTime(QDate(2025, 4, 7), QTime(9, 30)));
}

void TestFicha::cleanup()
{
    platform::Clock::fixa(QDateTime());
}

void TestFicha::headings_data()
{
    QTest::addColumn<QString>("reducao");
    QTest::addColumn<QString>("sufixo");

    QTest::newRow("no superplasticiser: bare headings") << "0"
                                                        << "";
    QTest::newRow("12 % less water") << "12"
                                     << " - Utilizando SuperPlastificante";
}

void TestFicha::headings()
{
    QFETCH(QString, reducao);
    QFETCH(QString, sufixo);

    Documento folha;
    compoe(folha, com(linhaGravada(), {{"ReducaoAgua", reducao}}));

    // Their places are in the positions table.
    for (const QString& titulo :
         {QStringLiteral("Dosagem em Proporções em Massa"), QStringLiteral("Dosagem em Proporções em Volume")}) {
        QCOMPARE(fichatest::paragrafosQueComecamPor(folha, titulo), QStringList{titulo + sufixo});
        const auto p = paragrafo(folha, titulo + sufixo);
        QCOMPARE(p->cor, kAzul);
        QCOMPARE(p->fonte, (printing::Fonte{QStringLiteral("Arial"), 13, false, false}));
    }
}

void TestFicha::strength_data()
{
    QTest::addColumn<int>("fck");
    QTest::addColumn<QString>("linha");

    QTest::newRow("10 MPa is not printed") << 10 << "Resistência Característica de Cálculo xx MPa.";
    QTest::newRow("11 MPa") << 11 << "Resistência Característica de Cálculo 11 MPa.";
}

void TestFicha::strength()
{
    QFETCH(int, fck);
    QFETCH(QString, linha);

    Documento folha;
    compoe(folha, com(linhaGravada(), {{"Resistencia", fck}}));
    const auto p = paragrafo(folha, linha);
    QVERIFY2(p, qPrintable(linha));
    QCOMPARE(p->fonte.tamanho, 10.0);
}

void TestFicha::noCoarseSand_data()
{
    QTest::addColumn<QVariantMap>("linha");
    QTest::addColumn<bool>("vazia");

    QTest::newRow("by mass, no coarse sand") << com(linhaGravada(), {{"TracoAreiaGrossa", 0.0}}) << true;
    QTest::newRow("with coarse sand") << linhaGravada() << false;
}

void TestFicha::noCoarseSand()
{
    QFETCH(QVariantMap, linha);
    QFETCH(bool, vazia);

    Documento folha;
    compoe(folha, linha);
    QCOMPARE(folha.tabelas().size(), 5);
    for (int t = 0; t < 4; ++t) {
        const QList<ItemTabela::Linha> linhas = corpoDaTabela(folha, t);
        // The volume tables have no labour row.
        QCOMPARE(linhas.size(), t < 2 ? 10 : 9);
        QCOMPARE(linhas[2].celulas.first(), QStringLiteral("Areia Grossa"));
        QCOMPARE(linhas[2].celulas.last().isEmpty(), vazia);
    }
}

void TestFicha::admixtureRows_data()
{
    QTest::addColumn<QVariantMap>("linha");
    QTest::addColumn<QStringList>("porTraco5");
    QTest::addColumn<QStringList>("porTraco6");
    QTest::addColumn<QStringList>("porMetro5");
    QTest::addColumn<QStringList>("porMetro6");

    const QString aditivo = QStringLiteral("Aditivo Plastificante");
    const QStringList vazia{QString(), QString()};
    QTest::newRow("no admixture: empty rows") << linhaGravada() << vazia << vazia << vazia << vazia;
    QTest::newRow("one admixture, a litre and a half of it")
        << com(linhaGravada(), {{"NomeAditivo1", aditivo}, {"TracoAditivoQde1", 1.5}})
        << QStringList{aditivo, QStringLiteral("1,5 litro")} << vazia
        << QStringList{aditivo, QStringLiteral("12,3 litro")} << vazia;
    QTest::newRow("less than one: no zero before the comma")
        << com(linhaGravada(), {{"NomeAditivo2", aditivo}, {"TracoAditivoQde2", 0.5}}) << vazia
        << QStringList{aditivo, QStringLiteral(",5 litro")} << vazia
        << QStringList{aditivo, QStringLiteral("4,1 litro")};
    QTest::newRow("named but none of it: empty quantity")
        << com(linhaGravada(), {{"NomeAditivo1", aditivo}}) << QStringList{aditivo, QString()} << vazia
        << QStringList{aditivo, QString()} << vazia;
}

void TestFicha::admixtureRows()
{
    QFETCH(QVariantMap, linha);
    QFETCH(QStringList, porTraco5);
    QFETCH(QStringList, porTraco6);
    QFETCH(QStringList, porMetro5);
    QFETCH(QStringList, porMetro6);

    fichatest::Produtos produtos;
    produtos.add(calc::ProductInfo{7, QStringLiteral("Aditivo Plastificante"), 9.5, QStringLiteral("litro"), 1.0, {}});
    Documento folha;
    compoe(folha, linha, &produtos);

    // Mass and volume tables alike, per batch and per m3.
    for (const int t : {0, 2}) {
        QCOMPARE(corpoDaTabela(folha, t)[5].celulas, porTraco5);
        QCOMPARE(corpoDaTabela(folha, t)[6].celulas, porTraco6);
    }
    for (const int t : {1, 3}) {
        QCOMPARE(corpoDaTabela(folha, t)[5].celulas, porMetro5);
        QCOMPARE(corpoDaTabela(folha, t)[6].celulas, porMetro6);
    }
}

void TestFicha::labour()
{
    Documento folha;
    compoe(folha, com(linhaGravada(), {{"MaodeObra", 1.5}}));
    QCOMPARE(corpoDaTabela(folha, 1)[7].celulas,
             (QStringList{QStringLiteral("Mão-de-Obra"), QStringLiteral("1,50 hh")}));
    // A batch takes a fraction of an hour: printed without the zero.
    QCOMPARE(corpoDaTabela(folha, 0)[7].celulas.last(), QStringLiteral(",18 hh"));
}

void TestFicha::readingSentence()
{
    calc::CalcState estado = estadoDe(linhaGravada());
    estado.propVolume = QStringLiteral("1:2,50:3,40:0,65");
    Documento folha;
    printing::ImprimeTraco(folha, printing::PreparaFolha(folha), estado,
                           OrigemDaFicha::gravado(linhaGravada(), QString()));

    const auto proporcao = paragrafo(folha, QStringLiteral("Traço em proporções em volume  1:2,50:3,40:0,65"));
    QVERIFY(proporcao);
    QVERIFY(proporcao->fonte.negrito);
    const auto leitura =
        paragrafo(folha, QStringLiteral("Que pode ser lido: 1 volume (1 litro) de cimento, 2,50 volumes (2,50 litros) "
                                        "de areia, 3,40 volumes (3,40 litros) de pedra e 0,65 volumes (0,65 litros) "
                                        "de água."));
    QVERIFY(leitura);
    QVERIFY(!leitura->fonte.negrito);
    // One empty line between them.
    QCOMPARE(leitura->y, proporcao->y + 2 * Documento::lineHeight(proporcao->fonte));
}

void TestFicha::sheetHeaderAndCostLines_data()
{
    QTest::addColumn<bool>("ocupado");
    QTest::addColumn<QVariantMap>("linha");
    QTest::addColumn<QString>("cabecalho");
    QTest::addColumn<QStringList>("custos");

    const QStringList custos{
        QStringLiteral("Peso do metro cúbico   = 2380,5 kg/m3"), QStringLiteral("Preço do m3 Sem Perdas = 312,46"),
        QStringLiteral("Porcentagem de Perdas  = 5%"), QStringLiteral("Preço do m3 Com Perdas = 328,08")};
    QTest::newRow("stored, in use") << true << linhaGravada()
                                    << "Traço em Uso - Criado em 05-03-2024 - Preços de Cotação de 10-03-2024"
                                    << custos;
    QTest::newRow("stored, inactive, no price")
        << true << com(linhaGravada(), {{"Plantao", false}, {"PrecoCustoSemPerda", QVariant()}, {"Perda", 7.5}})
        << "Traço Inativo - Criado em 05-03-2024 - Preços de Cotação de 10-03-2024"
        << QStringList{custos[0], QStringLiteral("Preço do m3 Sem Perdas = "),
                       QStringLiteral("Porcentagem de Perdas  = 7,5%"), custos[3]};
    QTest::newRow("the wizard's experimental mix")
        << false << linhaGravada() << "Traço Experimental Gerado em 07-04-2025" << QStringList{};
}

void TestFicha::sheetHeaderAndCostLines()
{
    QFETCH(bool, ocupado);
    QFETCH(QVariantMap, linha);
    QFETCH(QString, cabecalho);
    QFETCH(QStringList, custos);

    const calc::CalcState estado = estadoDe(linha);
    Documento folha;
    const OrigemDaFicha origem =
        ocupado ? OrigemDaFicha::gravado(linha, QString()) : OrigemDaFicha::experimental(QString());
    printing::ImprimeTraco(folha, printing::PreparaFolha(folha), estado, origem);

    const auto topo = fichatest::texto(folha, ItemTexto::Origem::Cabecalho);
    QVERIFY(topo);
    QCOMPARE(topo->texto, cabecalho);
    QCOMPARE(topo->caixa.right(), 11406.0);
    QCOMPARE(topo->fonte, (printing::Fonte{QStringLiteral("Times"), 10, false, true}));
    QCOMPARE(folha.header(), QStringLiteral("||") + cabecalho);
    const auto pe = fichatest::texto(folha, ItemTexto::Origem::Rodape);
    QVERIFY(pe);
    QCOMPARE(pe->texto, printing::avisoDoRodape());

    QStringList impressas;
    for (const QString& inicio : {QStringLiteral("Peso do"), QStringLiteral("Preço do"), QStringLiteral("Porcent")})
        impressas += fichatest::paragrafosQueComecamPor(folha, inicio);
    std::sort(impressas.begin(), impressas.end());
    QStringList esperadas = custos;
    std::sort(esperadas.begin(), esperadas.end());
    QCOMPARE(impressas, esperadas);
    // The title is the stored name and variant, or the name given to the wizard.
    QVERIFY(paragrafo(folha, ocupado ? QStringLiteral("Concreto 20 - 03") : QStringLiteral("Concreto 20")));
}

void TestFicha::positions_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("alinhamento");
    QTest::addColumn<QList<double>>("ys");

    const int esquerda = int(Alinhamento::Esquerda);
    const int direita = int(Alinhamento::Direita);
    QTest::newRow("title") << "Traço de Concreto" << esquerda << QList<double>{500};
    QTest::newRow("mass heading") << "Dosagem em Proporções em Massa" << esquerda << QList<double>{1650};
    QTest::newRow("volume heading") << "Dosagem em Proporções em Volume" << esquerda << QList<double>{6650};
    QTest::newRow("per batch") << "Por Traço" << esquerda << QList<double>{1950, 6950};
    QTest::newRow("per m3") << "Por Metro Cúbico de Concreto" << direita << QList<double>{1950, 6950};
    QTest::newRow("mass calculation") << "Cálculo das Proporções em Massa" << esquerda << QList<double>{5000};
    QTest::newRow("volume calculation") << "Cálculo das Proporções em Volume de Material Solto" << esquerda
                                        << QList<double>{10000};
    QTest::newRow("characteristics") << "Características Dadas" << esquerda << QList<double>{12150};
    QTest::newRow("strength") << "Resistência Característica de Cálculo 25 MPa." << esquerda << QList<double>{12450};
    QTest::newRow("note") << "Nota:   As massas aparentes e a umidade dos a-" << direita << QList<double>{14100};
}

void TestFicha::positions()
{
    QFETCH(QString, texto);
    QFETCH(int, alinhamento);
    QFETCH(QList<double>, ys);

    Documento folha;
    compoe(folha, linhaGravada());
    QCOMPARE(folha.pageCount(), 1);
    QCOMPARE(alturasDe(folha, texto), ys);
    const auto p = paragrafo(folha, texto);
    QCOMPARE(int(p->alinhamento), alinhamento);
    if (alinhamento == int(Alinhamento::Direita))
        QCOMPARE(p->caixa.right(), 11406.0);
    else
        QCOMPARE(p->caixa.left(), texto == QStringLiteral("Traço de Concreto") ? 4500.0 : 500.0);
}

void TestFicha::tablesSideBySide()
{
    Documento folha;
    compoe(folha, linhaGravada());

    struct Esperada
    {
        double topo;
        Alinhamento lado;
        QString formato;
    };
    const QList<Esperada> esperadas{{2250, Alinhamento::Esquerda, QStringLiteral("^2500|^2000;")},
                                    {2250, Alinhamento::Direita, QStringLiteral("^2500|^2000;")},
                                    {7250, Alinhamento::Esquerda, QStringLiteral("^2500|^2000;")},
                                    {7250, Alinhamento::Direita, QStringLiteral("^2500|^2000;")},
                                    {12450, Alinhamento::Direita, QStringLiteral("^1500|^1500|^1500;")}};
    QCOMPARE(folha.tabelas().size(), esperadas.size());
    for (qsizetype i = 0; i < esperadas.size(); ++i) {
        const ItemTabela& tabela = folha.tabelas()[i];
        QCOMPARE(tabela.formato, esperadas[i].formato);
        const QRectF primeira = tabela.linhas.first().caixa;
        QCOMPARE(primeira.top(), esperadas[i].topo);
        if (esperadas[i].lado == Alinhamento::Esquerda)
            QCOMPARE(primeira.left(), 500.0);
        else
            QCOMPARE(primeira.right(), 11406.0);
        QCOMPARE(tabela.linhas.first().celulas.first(),
                 i < 4 ? QStringLiteral("Componente") : QStringLiteral("Componente em kg/l"));
        // Header light yellow, then the body in white and light green stripes.
        QCOMPARE(tabela.linhas.first().sombra, std::optional<QColor>(QColor(255, 255, 192)));
        const QList<ItemTabela::Linha> corpo = tabela.corpo();
        for (qsizetype r = 0; r < corpo.size(); ++r) {
            const std::optional<QColor> sombra = r == 0       ? std::optional<QColor>(QColor(255, 255, 255))
                                                 : r % 2 == 1 ? std::optional<QColor>(QColor(192, 255, 192))
                                                              : std::nullopt;
            QCOMPARE(corpo[r].sombra, sombra);
        }
    }
    QCOMPARE(folha.reguas().size(), 3);
    const QList<double> reguas{1500, 6500, 12000};
    for (qsizetype i = 0; i < reguas.size(); ++i)
        QCOMPARE(folha.reguas()[i].linha, QLineF(500, reguas[i], 11406, reguas[i]));
}

void TestFicha::proportionLines()
{
    Documento folha;
    compoe(folha, linhaGravada());
    const calc::CalcState estado = estadoDe(linhaGravada());

    const auto massa = paragrafo(folha, QStringLiteral("Traço em proporções em massa ") + estado.propMassa);
    const auto relacao = paragrafo(folha, QStringLiteral("Relação agregado/cimento  ") + estado.relAgregCimento);
    QVERIFY(massa && relacao);
    QVERIFY(estado.propMassa.startsWith(QStringLiteral("1:")));
    // Side by side on one line: the proportion bold on the left, the ratio on the right.
    QCOMPARE(relacao->y, massa->y);
    QVERIFY(massa->fonte.negrito);
    QVERIFY(!relacao->fonte.negrito);
    QCOMPARE(relacao->caixa.right(), 11406.0);
    QVERIFY(massa->caixa.right() < relacao->caixa.left());
}

void TestFicha::characteristicLines_data()
{
    QTest::addColumn<QVariantMap>("mudancas");
    QTest::addColumn<QStringList>("linhas");

    QTest::newRow("stored mix") << QVariantMap{}
                                << QStringList{QStringLiteral("Diâmetro Máximo do Agregado Graúdo 19 mm."),
                                               QStringLiteral("Umidade do agregado miúdo 5%"),
                                               QStringLiteral("Abatimento do Concreto (Slump) 100 mm."),
                                               QStringLiteral("Classe do Cimento a ser usado  32"),
                                               QStringLiteral("Agregado Graúdo Britado Cúbico"),
                                               QStringLiteral("Medição em Massa, com controle rigoroso de umidade"),
                                               QStringLiteral("Concreto para estruturas correntes")};
    QTest::newRow("other codes") << QVariantMap{{"NomeGraudo1", "Pedrisco"},
                                                {"Umidade", 7.0},
                                                {"Fator", "095"},
                                                {"NomeCimento", "Cimento ARI"},
                                                {"Textura", 0},
                                                {"Dosagem", 2},
                                                {"Destino", 3}}
                                 << QStringList{QStringLiteral("Diâmetro Máximo do Agregado Graúdo 4,8 mm."),
                                                QStringLiteral("Umidade do agregado miúdo 7%"),
                                                QStringLiteral("Abatimento do Concreto (Slump) 95 mm."),
                                                QStringLiteral("Classe do Cimento a ser usado  ARI"),
                                                QStringLiteral("Agregado Graúdo bem arredondado"),
                                                QStringLiteral("Medição em Volume, sem controle rigoroso de umidade"),
                                                QStringLiteral("Para uso de concreto bombeado")};
    // A stored mix whose cement product is not found prints no class, whatever its Classe field holds.
    QTest::newRow("flaky aggregate, thin members, no cement found")
        << QVariantMap{{"Textura", 2}, {"Dosagem", 1}, {"Destino", 1}, {"Umidade", 4.5}, {"NomeCimento", ""}}
        << QStringList{QStringLiteral("Diâmetro Máximo do Agregado Graúdo 19 mm."),
                       QStringLiteral("Umidade do agregado miúdo 4,5%"),
                       QStringLiteral("Abatimento do Concreto (Slump) 100 mm."),
                       QStringLiteral("Classe do Cimento a ser usado "),
                       QStringLiteral("Agregado Graúdo Britado Lamelar"),
                       QStringLiteral("Medição em Volume, com controle rigoroso de umidade"),
                       QStringLiteral("Concreto para peças delgadas")};
}

void TestFicha::characteristicLines()
{
    QFETCH(QVariantMap, mudancas);
    QFETCH(QStringList, linhas);

    Documento folha;
    compoe(folha, com(linhaGravada(), mudancas));
    // Under the strength, one line each, in this order.
    const auto resistencia = paragrafo(folha, QStringLiteral("Resistência Característica de Cálculo 25 MPa."));
    QVERIFY(resistencia);
    const double passo = Documento::lineHeight(resistencia->fonte);
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        const auto p = paragrafo(folha, linhas[i]);
        QVERIFY2(p, qPrintable(linhas[i]));
        QCOMPARE(p->y, 12450.0 + (i + 1) * passo);
        QCOMPARE(p->x, 500.0);
    }
}

void TestFicha::massesTable()
{
    Documento folha;
    compoe(folha, linhaGravada());
    const ItemTabela massas = folha.tabelas().at(4);
    QCOMPARE(massas.linhas.size(), 4);
    QCOMPARE(massas.linhas[0].celulas,
             (QStringList{QStringLiteral("Componente em kg/l"), QStringLiteral("Massa\rEspecifíca"),
                          QStringLiteral("Massa Aparente")}));
    QCOMPARE(massas.linhas[1].celulas,
             (QStringList{QStringLiteral("Cimento"), QStringLiteral("3,10"), QStringLiteral("1,43")}));
    QCOMPARE(massas.linhas[2].celulas,
             (QStringList{QStringLiteral("Agr. Miúdo"), QStringLiteral("2,61"), QStringLiteral("1,20")}));
    QCOMPARE(massas.linhas[3].celulas,
             (QStringList{QStringLiteral("Agr. Graúdo"), QStringLiteral("2,72"), QStringLiteral("1,38")}));

    // The mass table per batch, as the row was stored.
    const QList<ItemTabela::Linha> porTraco = corpoDaTabela(folha, 0);
    QCOMPARE(porTraco[0].celulas, (QStringList{QStringLiteral("Cimento 32"), QStringLiteral("50,0 kg")}));
    QCOMPARE(porTraco[1].celulas, (QStringList{QStringLiteral("Areia Fina"), QStringLiteral("40,0 kg")}));
    QCOMPARE(porTraco[3].celulas, (QStringList{QStringLiteral("Pedra 1"), QStringLiteral("150,0 kg")}));
    QCOMPARE(porTraco[4].celulas, (QStringList{QString(), QString()}));
    QCOMPARE(porTraco[8].celulas.first(), QStringLiteral("Água Adicional"));
    QCOMPARE(porTraco[9].celulas.first(), QStringLiteral("Água Total"));
    QVERIFY(porTraco[9].celulas.last().endsWith(QStringLiteral(" litros")));
}

void TestFicha::nothingOverlaps_data()
{
    QTest::addColumn<QVariantMap>("linha");

    QTest::newRow("stored, with costs") << linhaGravada();
    QTest::newRow("superplasticiser, two admixtures, long names")
        << com(linhaGravada(), {{"ReducaoAgua", "15"},
                                {"NomeTraco", "Concreto Bombeado para Lajes Protendidas fck 40"},
                                {"NomeAditivo1", "Aditivo Superplastificante"},
                                {"NomeAditivo2", "Aditivo Plastificante"},
                                {"TracoAditivoQde1", 0.35},
                                {"TracoAditivoQde2", 0.2},
                                {"NomeGraudo2", "Pedra 2"},
                                {"TracoGraudoQde2", 60.0},
                                {"Dosagem", 2},
                                {"Destino", 3},
                                {"Peso", "2417,24343569503"}});
}

void TestFicha::nothingOverlaps()
{
    QFETCH(QVariantMap, linha);

    fichatest::Produtos produtos;
    produtos.add(
        calc::ProductInfo{7, QStringLiteral("Aditivo Superplastificante"), 20.0, QStringLiteral("litro"), 1, {}});
    produtos.add(calc::ProductInfo{8, QStringLiteral("Aditivo Plastificante"), 9.5, QStringLiteral("litro"), 1, {}});
    Documento folha;
    compoe(folha, linha, &produtos);

    QCOMPARE(folha.pageCount(), 1);
    const QList<ItemTexto>& textos = folha.textos();
    QVERIFY(textos.size() > 100);
    const QRectF pagina(0, 0, folha.pageWidth(), folha.pageHeight());
    for (qsizetype i = 0; i < textos.size(); ++i) {
        const ItemTexto& a = textos[i];
        QVERIFY2(a.caixa.left() >= 500.0 && a.caixa.right() <= 11406.0, qPrintable(a.texto));
        QVERIFY2(pagina.contains(a.caixa), qPrintable(a.texto));
        for (qsizetype j = i + 1; j < textos.size(); ++j) {
            const ItemTexto& b = textos[j];
            QVERIFY2(!a.caixa.intersects(b.caixa), qPrintable(a.texto + QStringLiteral(" × ") + b.texto));
        }
    }
}

void TestFicha::numberPatterns_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<int>("casas");
    QTest::addColumn<QString>("texto");

    QTest::newRow("one decimal") << 50.0 << 1 << "50,0";
    QTest::newRow("no zero before the comma") << 0.5 << 1 << ",5";
    QTest::newRow("two decimals") << 1.5 << 2 << "1,50";
    QTest::newRow("hours of a batch") << 0.25 << 2 << ",25";
    QTest::newRow("no thousands separator") << 1234.56 << 1 << "1234,6";
    QTest::newRow("negative below one") << -0.5 << 1 << "-,5";
}

void TestFicha::numberPatterns()
{
    QFETCH(double, valor);
    QFETCH(int, casas);
    QFETCH(QString, texto);
    QCOMPARE(printing::semZeroAEsquerda(valor, casas), texto);
}

void TestFicha::noPrinter()
{
    Documento folha;
    folha.setPaperSize(QSizeF(0, 0));
    const EstadoImpressora estado = printing::PreparaFolha(folha);
    QCOMPARE(estado, EstadoImpressora::SemImpressora);
    // Nothing is composed.
    QVERIFY(
        !printing::ImprimeTraco(folha, estado, estadoDe(linhaGravada()), OrigemDaFicha::gravado(linhaGravada(), {})));
    QCOMPARE(folha.pageCount(), 0);
    QVERIFY(folha.textos().isEmpty());

    // A4 is a usable page.
    Documento a4;
    QCOMPARE(printing::PreparaFolha(a4), EstadoImpressora::Pronta);
    QCOMPARE(a4.marginLeft(), 500.0);
    QCOMPARE(a4.marginBottom(), 500.0);
}

void TestFicha::logo()
{
    QTemporaryDir pasta;
    QVERIFY(QDir().mkpath(pasta.filePath(QStringLiteral("Imagens"))));
    QCOMPARE(printing::logotipoDaPasta(pasta.path()), QString());
    QImage modelo(340, 180, QImage::Format_RGB32);
    modelo.fill(Qt::blue);
    QVERIFY(modelo.save(pasta.filePath(QStringLiteral("Imagens/modelo.bmp"))));
    QCOMPARE(printing::logotipoDaPasta(pasta.path()), pasta.filePath(QStringLiteral("Imagens/modelo.bmp")));
    QVERIFY(modelo.save(pasta.filePath(QStringLiteral("Imagens/logo.bmp"))));
    const QString logotipo = printing::logotipoDaPasta(pasta.path() + QLatin1Char('/'));
    QCOMPARE(logotipo, pasta.filePath(QStringLiteral("Imagens/logo.bmp")));

    Documento folha;
    printing::ImprimeTraco(folha, printing::PreparaFolha(folha), estadoDe(linhaGravada()),
                           OrigemDaFicha::gravado(linhaGravada(), logotipo));
    QCOMPARE(folha.figuras().size(), 1);
    QVERIFY(folha.figuras().first().desenhada);
    const QRectF caixa = folha.figuras().first().caixa;
    QCOMPARE(caixa,
             QRectF(printing::twipsDeMm(10), printing::twipsDeMm(8), printing::twipsDeMm(34), printing::twipsDeMm(18)));
    // Beside the title, above the first rule.
    QVERIFY(caixa.right() < 4500.0);
    QVERIFY(caixa.bottom() < 1500.0);
}

QUENVAR_TEST(TestFicha)
#include "tst_ficha.moc"
