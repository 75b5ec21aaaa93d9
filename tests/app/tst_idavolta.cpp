// Every row the mix form saves must recompute, from its own stored inputs, to exactly its stored results; and the
// window before the save, the sheet printed from the row and the row must agree. The mixes are generated from a
// seed by driving the form as a user would: inserting after viewing each demo mix, editing, new variants, and
// copying the wizard's design with every reduction and measuring condition.
#include "testregistry.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/dosage.h"
#include "calc/formats.h"
#include "calc/mixfields.h"
#include "calc/numericentry.h"
#include "calc/recalculo.h"
#include "catalogue/tabelaprodutos.h"
#include "desktop/scripteddialogs.h"
#include "exemplos.h"
#include "janelateste.h"
#include "platform/clock.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "widgets/caixatexto.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTest>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using Form = mixform::FormTraco;
using teste::digita;
using teste::Janela;

namespace {

// What the recalculation computes and the row stores.
const QStringList kResultados =
    QStringLiteral("Peso PesoTraco RelAgregCimento PropMassa PropVolume Resistencia Cimento AreiaFina AreiaGrossa "
                   "Graudo1 Graudo2 AditivoQde1 AditivoQde2 AguaAdic Agua TracoAguaAdic TracoAgua TracoMaoDeObra "
                   "MaodeObra TracoCimento TracoAreiaFina TracoAreiaGrossa TracoGraudoQde1 TracoGraudoQde2 "
                   "TracoAditivoQde1 TracoAditivoQde2 PrecoCustoSemPerda PrecoCustoComPerda Fator")
        .split(QLatin1Char(' '));

QVariantMap linhaDe(const QString& nome, int variante)
{
    QSqlQuery q = platform::Database::shared().exec(
        QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?"), {nome, variante});
    QVariantMap linha;
    if (q.next()) {
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            linha.insert(r.fieldName(i), r.value(i));
    }
    return linha;
}

// Equal as stored: numbers to the last bit, texts character by character.
bool igual(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

// A box as the user reads it: the number it shows, in the boxes' own format.
QString lido(const QLineEdit* caixa)
{
    return calc::formatQuantity(calc::readNumber(caixa->text()));
}

QString numero(double valor, int casas)
{
    return QLocale().toString(valor, 'f', casas);
}

// The boxes of the window as they were shown, read before the save.
struct Tela
{
    std::array<QString, 10> porTraco;
    std::array<QString, 10> porMetro;
    std::array<QString, 6> resultados;
    double custoSemPerda = 0.0;
    double custoComPerda = 0.0;
    // The product each list showed, for the rows that hold a quantity: cement, coarse aggregates, admixtures.
    std::array<QString, 5> produtos;
};

const std::array<const char*, 5> kCodigos{"TracoCimentoCod", "TracoGraudoCod1", "TracoGraudoCod2", "TracoAditivoCod1",
                                          "TracoAditivoCod2"};

Tela le(const Form* f)
{
    Tela t;
    for (int i = 0; i < 10; ++i) {
        t.porTraco[std::size_t(i)] = lido(f->TextoT[i]);
        t.porMetro[std::size_t(i)] = lido(f->TextoM[i]);
    }
    for (int i = 0; i < 6; ++i)
        t.resultados[std::size_t(i)] = f->TextoI[i]->text();
    t.custoSemPerda = f->custo(0);
    t.custoComPerda = f->custo(2);
    const std::array<int, 5> listas{2, 3, 4, 5, 6};
    for (std::size_t i = 0; i < listas.size(); ++i) {
        const QComboBox* lista = f->Combo[listas[i]];
        const int linha = listas[i] == 2 ? 0 : listas[i];
        if (lista->currentIndex() >= 0 && lista->currentText() != QStringLiteral("* Nenhum *") &&
            calc::readNumber(f->TextoT[linha]->text()) != 0.0)
            t.produtos[i] = lista->currentText();
    }
    return t;
}

// The per-cubic-metre "Água Total" the sheet of the row prints, as a number.
double aguaDaFicha(const QVariantMap& linha, const calc::ProductTable& produtos)
{
    calc::CalcState estado;
    calc::CarregaTraco(estado, linha, &produtos);
    printing::Documento folha;
    printing::ImprimeTraco(folha, printing::PreparaFolha(folha), estado,
                           printing::OrigemDaFicha::gravado(linha, QString()));
    for (const printing::ItemTabela::Linha& l : folha.tabelas().at(1).corpo()) {
        if (l.celulas.value(0) == QStringLiteral("Água Total"))
            return calc::readNumber(l.celulas.value(1));
    }
    return -1.0;
}

// The invariant: the row recomputes to itself, and the window before the save, the sheet and the row agree.
void confere(const QString& nome, int variante, const Tela& tela)
{
    const QVariantMap linha = linhaDe(nome, variante);
    QVERIFY2(!linha.isEmpty(), qPrintable(nome));
    catalogue::TabelaProdutos produtos(platform::Database::shared());

    calc::CalcState recalculado;
    calc::CarregaTraco(recalculado, linha, &produtos);
    calc::ReCalculo(recalculado, &produtos);
    for (const QString& campo : kResultados) {
        const QVariant esperado = calc::fieldValue(recalculado, campo);
        QVERIFY2(igual(linha.value(campo), esperado),
                 qPrintable(QStringLiteral("%1: gravado %2, recalculado %3")
                                .arg(campo, linha.value(campo).toString(), esperado.toString())));
    }

    // What the sheet loads from the row is what the window showed.
    calc::CalcState ficha;
    calc::CarregaTraco(ficha, linha, &produtos);
    const std::array<double, 10> porTraco = ficha.porTraco();
    const std::array<double, 10> porMetro = ficha.porMetro();
    for (std::size_t i = 0; i < 10; ++i) {
        QCOMPARE(tela.porTraco[i], calc::formatQuantity(porTraco[i]));
        QCOMPARE(tela.porMetro[i], calc::formatQuantity(porMetro[i]));
    }
    QCOMPARE(tela.resultados[0], ficha.peso);
    QCOMPARE(tela.resultados[1], ficha.relAgregCimento);
    QCOMPARE(tela.resultados[2], ficha.pesoTraco);
    QCOMPARE(tela.resultados[3], ficha.propMassa);
    QCOMPARE(tela.resultados[4], ficha.propVolume);
    QCOMPARE(tela.resultados[5], QString::number(ficha.fck));
    QCOMPARE(tela.custoSemPerda, linha.value(QStringLiteral("PrecoCustoSemPerda")).toDouble());
    QCOMPARE(tela.custoComPerda, linha.value(QStringLiteral("PrecoCustoComPerda")).toDouble());
    QCOMPARE(numero(aguaDaFicha(linha, produtos), 1), numero(calc::readNumber(tela.porMetro[8]), 1));
    // The products stored are those the lists showed.
    for (std::size_t i = 0; i < kCodigos.size(); ++i) {
        const qint64 codigo = linha.value(QLatin1String(kCodigos[i])).toLongLong();
        const std::optional<calc::ProductInfo> mostrado =
            tela.produtos[i].isEmpty() ? std::nullopt : produtos.findByName(tela.produtos[i]);
        QCOMPARE(codigo, mostrado ? mostrado->code : 0);
    }
}

// Chooses an entry of a list as the user does, or leaves it as the window set it, one time in three.
void escolhe(QComboBox* lista, QRandomGenerator& sorte)
{
    if (sorte.bounded(3) != 0 && lista->count() > 0)
        lista->setCurrentIndex(sorte.bounded(lista->count()));
}

// Changes what a user changes in a mix: measure, products, quantities, slump, reduction, moisture and a mass.
void mexe(Form* f, QRandomGenerator& sorte, bool novo)
{
    f->OpcaoForma[sorte.bounded(3)]->click();
    f->OpcaoTextura[sorte.bounded(3)]->click();
    for (int lista : {2, 3, 4, 5, 6, 1, 7, 8})
        escolhe(f->Combo[lista], sorte);
    f->Pasta->setCurrentIndex(1);
    // A quantity of cement always, the others often; in the mix's measure.
    const std::array<int, 8> maximos{60, 80, 160, 200, 120, 3, 2, 30};
    for (int linha : {0, 1, 2, 3, 4, 5, 6, 9}) {
        if (linha != 0 && !novo && sorte.bounded(3) == 0)
            continue;
        const int maximo = maximos[std::size_t(linha == 9 ? 7 : linha)];
        const double valor = linha == 0 ? 10 + sorte.bounded(maximo * 10) / 10.0 : sorte.bounded(maximo * 100) / 100.0;
        if (!f->TextoT[linha]->isReadOnly() && !f->CompT[linha]->text().isEmpty())
            digita(f->TextoT[linha], numero(valor, linha == 0 ? 1 : 2));
    }
    if (sorte.bounded(2))
        digita(f->Texto[6], numero(sorte.bounded(150) / 10.0, 1));
    if (sorte.bounded(2)) {
        // A specific mass (even boxes) or a bulk mass (odd boxes) within what the materials have.
        const int i = sorte.bounded(6);
        digita(f->Texto[i], numero((i % 2 ? 1.2 : 2.6) + sorte.bounded(30) / 100.0, 2));
    }
    if (sorte.bounded(2))
        digita(f->Custo[1], QString::number(sorte.bounded(10)));
}

} // namespace

class TestIdaEVolta : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

    // Saves, checks no message came, and checks the row.
    void grava(Janela& j, const QString& nome)
    {
        Form* f = j.form();
        const bool novo = f->inserindo;
        const Tela tela = le(f);
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QVERIFY2(m_dialogs->mensagens().isEmpty(), qPrintable(m_dialogs->mensagens().value(0).texto));
        QVERIFY(!f->inserindo && !f->alterando);
        QCOMPARE(f->TextoC[0]->text(), nome);
        const int variante = f->RotVar->text().toInt();
        if (novo)
            QCOMPARE(variante, f->tracos().field(QStringLiteral("TracoVariante")).toInt());
        confere(nome, variante, tela);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        platform::Clock::fixa(QDateTime(QDate(2026, 12, 4), QTime(14, 5)));
    }
    void cleanupTestCase() { platform::Clock::fixa(QDateTime()); }
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
    }

    // Inserting after viewing each demo mix, as a new name or as a new variant of the mix viewed, and editing it.
    void incluiEAltera_data()
    {
        QTest::addColumn<int>("semente");
        for (int semente = 1; semente <= 24; ++semente)
            QTest::addRow("semente %d", semente) << semente;
    }
    void incluiEAltera()
    {
        QFETCH(int, semente);
        QRandomGenerator sorte{quint32(semente)};
        Janela j;
        Form* f = j.form();
        // Each demo mix is viewed before an insert and before an edit.
        const int linha = ((semente - 1) / 2) % f->totalRegistros();
        f->Movimenta(Form::Primeiro);
        for (int i = 0; i < linha; ++i)
            f->Movimenta(Form::Proximo);
        const QString visto = f->TextoC[0]->text();

        if (semente % 2) {
            j.traco->executa(QStringLiteral("ID_Incluir"));
            const QString nome = semente % 4 == 1 ? visto : QStringLiteral("Traço %1").arg(semente);
            f->Combo[0]->setEditText(nome);
            mexe(f, sorte, true);
            grava(j, nome);
        } else {
            j.traco->executa(QStringLiteral("ID_Alterar"));
            mexe(f, sorte, false);
            grava(j, visto);
        }
    }

    // The wizard's design copied into the window keeps its water, moisture, physical data and reduction.
    void copiaDoAssistente_data()
    {
        QTest::addColumn<QString>("reducao");
        QTest::addColumn<int>("medicao");
        QTest::addColumn<QString>("umidade");
        // The first without superplasticiser, then every reduction the list offers.
        const QStringList reducoes = QStringLiteral(" 5 7 8 10 12,5 15 18 20 22 25 30").split(QLatin1Char(' '));
        const QStringList umidades = QStringLiteral("5 0 3,5 7").split(QLatin1Char(' '));
        for (int i = 0; i < reducoes.size(); ++i) {
            const QString nome = reducoes[i].isEmpty() ? QStringLiteral("sem superplastificante")
                                                       : QStringLiteral("redução de %1 %").arg(reducoes[i]);
            QTest::newRow(qPrintable(nome)) << reducoes[i] << i % 3 << umidades[i % umidades.size()];
        }
    }
    void copiaDoAssistente()
    {
        QFETCH(QString, reducao);
        QFETCH(int, medicao);
        QFETCH(QString, umidade);
        Janela j;
        Form* f = j.form();
        // The mix viewed before has admixtures, another cement and another moisture.
        f->Movimenta(Form::Ultimo);

        calc::WizardAnswers a = exemplos::respostasDoAssistente();
        a.PlastificanteOpcao = !reducao.isEmpty();
        a.PlastificanteCombo = reducao;
        a.OpcaoForma = medicao;
        a.OpcaoTextura = 0;
        a.TipoConcreto = 2;
        a.UmidadeAreia = umidade;
        a.Texto[2] = QStringLiteral("2,65");
        calc::CalcState& e = j.traco->estado;
        calc::openWizard(e, 20.0);
        calc::CalculaDosagem(e, a, f->limites());
        QVERIFY(calc::CalculaQuantidades(e, a, 50.0));
        calc::CalculaProporcoes(e);
        const calc::CalcState assistente = e;

        f->CopiandoTraco(a);
        // A new record being inserted, holding the designed mix in its measure.
        QVERIFY(f->inserindo);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Edicao"));
        QCOMPARE(f->Combo[0]->currentText(), QStringLiteral("Estrutural 25"));
        QVERIFY(!f->Faixa->isHidden());
        QCOMPARE(f->Combo[7]->currentText(), QStringLiteral("100"));
        QCOMPARE(f->CompT[0]->text(), QStringLiteral("Cimento 32"));
        QCOMPARE(f->CompT[3]->text(), QStringLiteral("Pedra 1"));
        QVERIFY(f->OpcaoForma[medicao]->isChecked());
        QCOMPARE(f->UnidT[0]->text(), medicao == 0 ? QStringLiteral("Kg") : QStringLiteral("Litros"));
        QCOMPARE(e.W, assistente.W);
        for (std::size_t i = 0; i < 10; ++i) {
            QCOMPARE(lido(f->TextoT[int(i)]), calc::formatQuantity(assistente.porTraco()[i]));
            QCOMPARE(lido(f->TextoM[int(i)]), calc::formatQuantity(assistente.porMetro()[i]));
        }
        QCOMPARE(f->Texto[6]->text(), umidade);
        QCOMPARE(f->Texto[2]->text(), QStringLiteral("2,65"));
        QVERIFY(f->OpcaoTextura[0]->isChecked() && f->TipoConcreto[2]->isChecked());
        QCOMPARE(calc::readNumber(f->Combo[8]->currentText()), calc::readNumber(reducao));
        // No caption is left from the mix viewed before.
        for (int linha : {4, 5, 6})
            QVERIFY(f->CompT[linha]->text().isEmpty());
        grava(j, QStringLiteral("Estrutural 25"));
        const QVariantMap linha = linhaDe(QStringLiteral("Estrutural 25"), 0);
        QCOMPARE(linha.value(QStringLiteral("Umidade")).toDouble(), calc::readNumber(umidade));
        QCOMPARE(linha.value(QStringLiteral("Agua")).toDouble(), assistente.W);
        QCOMPARE(calc::readNumber(linha.value(QStringLiteral("ReducaoAgua")).toString()), calc::readNumber(reducao));
        QCOMPARE(linha.value(QStringLiteral("Volumetrico")).toInt(), medicao);
        QCOMPARE(linha.value(QStringLiteral("Textura")).toInt(), 0);
        QCOMPARE(linha.value(QStringLiteral("Destino")).toInt(), 2);
    }
};

QUENVAR_TEST(TestIdaEVolta)
#include "tst_idavolta.moc"
