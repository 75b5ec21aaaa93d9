#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include "platform/database.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using clitest::executa;

namespace {

bool perto(double a, double b)
{
    return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(b));
}

} // namespace

class TestBetonadaCli : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};

private slots:
    void betonada_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<double>("sacos");
        QTest::addColumn<QString>("mensagem"); // the error's, or for a PDF what its text must hold

        const QString f25 = QStringLiteral("Concreto fck 25");
        QTest::newRow("in use, whole bags, 12 m3, sheet")
            << QStringList{"--traco", f25, "--litros", "400", "--volume", "12", "--pdf"} << 3.0
            << "3 sacos (três sacos)";
        QTest::newRow("variant, half bags")
            << QStringList{"--traco", f25, "--variante", "2", "--litros", "300", "--meio-saco"} << 2.5 << "";
        QTest::newRow("loose volume, decimal comma")
            << QStringList{"--traco", "Concreto Magro", "--litros", "250", "--volume", "3,5"} << 1.0 << "";
        QTest::newRow("not even a bag") << QStringList{"--traco", f25, "--litros", "50"} << 0.0
                                        << "não cabe nem um saco";
        QTest::newRow("not even half a bag")
            << QStringList{"--traco", f25, "--litros", "20", "--meio-saco", "--pdf"} << 0.0 << "não cabe nem meio saco";
        QTest::newRow("no capacity") << QStringList{"--traco", f25, "--litros", "0"} << 0.0 << "maior que zero";
        QTest::newRow("negative volume") << QStringList{"--traco", f25, "--litros", "300", "--volume", "-2"} << 0.0
                                         << "volume a concretar";
        QTest::newRow("unknown mix") << QStringList{"--traco", "Concreto fck 90", "--litros", "300"} << 0.0
                                     << "O traço \"Concreto fck 90\" não existe";
        QTest::newRow("unknown variant") << QStringList{"--traco", f25, "--variante", "7", "--litros", "300"} << 0.0
                                         << "não tem a variante 07";
    }

    void betonada()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(double, sacos);
        QFETCH(QString, mensagem);

        QVERIFY(m_pasta.valida());
        QTemporaryDir saida;
        const QString arquivo = saida.filePath(QStringLiteral("betonada.pdf"));
        const bool pdf = argumentos.contains(QStringLiteral("--pdf"));
        if (pdf)
            argumentos << arquivo;
        const clitest::Execucao run = executa(QStringList{QStringLiteral("betonada"), m_pasta.dados()} + argumentos);

        if (sacos == 0.0) {
            QVERIFY2(run.recusada(mensagem), qPrintable(run.mensagens()));
            QVERIFY(QDir(saida.path()).isEmpty());
            return;
        }
        QCOMPARE(run.status, 0);
        const QJsonObject o = run.objeto();
        QCOMPARE(o.value(QStringLiteral("Sacos")).toDouble(), sacos);

        // The figures against the stored row: the bag is the cement product's Peso, the cement of a cubic metre gives
        // the yield, and every material keeps its ratio to the batch's cement.
        platform::Database db(QStringLiteral("teste-betonada"));
        db.open(m_pasta.local());
        const QString traco = o.value(QStringLiteral("Traco")).toString();
        const QVariantList chave{traco.section(QStringLiteral(" - "), 0, 0), traco.section(QStringLiteral(" - "), 1)};
        const auto campo = [&](const char* nome) {
            return db
                .scalar(QStringLiteral("SELECT %1 FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?")
                            .arg(QLatin1String(nome)),
                        chave)
                .toDouble();
        };
        const QJsonArray materiais = o.value(QStringLiteral("Materiais")).toArray();
        const QJsonObject cimento = materiais.first().toObject();
        const double pesoSaco = db.scalar(QStringLiteral("SELECT Peso FROM Produtos WHERE NomeProduto = ?"),
                                          {cimento.value(QStringLiteral("Nome")).toString()})
                                    .toDouble();
        const double solto = campo("Volumetrico") != 0.0 ? campo("AparCim") : 1.0;
        const double kg = sacos * pesoSaco;
        const double fator = kg / (campo("TracoCimento") * solto);
        const double litros = o.value(QStringLiteral("LitrosPorBetonada")).toDouble();
        QCOMPARE(cimento.value(QStringLiteral("Quantidade")).toDouble(), kg);
        QVERIFY(perto(litros, kg / (campo("Cimento") * solto) * 1000.0));
        QCOMPARE(cimento.contains(QStringLiteral("Litros")), solto != 1.0);
        const QJsonObject agua = materiais.last().toObject();
        QCOMPARE(agua.value(QStringLiteral("Unidade")).toString(), QStringLiteral("L"));
        QVERIFY(perto(agua.value(QStringLiteral("Quantidade")).toDouble(), campo("TracoAguaAdic") * fator));
        const QJsonValue betonadas = o.value(QStringLiteral("Betonadas"));
        const qsizetype volume = argumentos.indexOf(QStringLiteral("--volume"));
        if (volume < 0)
            QVERIFY(betonadas.isUndefined());
        else
            QCOMPARE(betonadas.toInt(),
                     int(std::ceil(argumentos[volume + 1].replace(',', '.').toDouble() * 1000.0 / litros)));
        if (pdf) {
            const QString texto = QString::fromUtf8(clitest::textoDoPdf(arquivo));
            QVERIFY2(texto.contains(QStringLiteral("Betonada")) && texto.contains(mensagem) && texto.contains(traco),
                     qPrintable(texto));
        }
    }
};

QUENVAR_TEST(TestBetonadaCli)
#include "tst_betonadacli.moc"
