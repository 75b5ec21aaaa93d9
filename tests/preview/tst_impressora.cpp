#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "preview/impressora.h"
#include "printing/relatorio.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using desktop::Dialogs;
using printing::EstadoImpressora;

// What the window that shows a sheet tells the user when the sheet cannot be printed.
class TestImpressora : public QObject
{
    Q_OBJECT

private slots:
    void avisoDoEstado_data()
    {
        QTest::addColumn<EstadoImpressora>("estado");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");

        QTest::newRow("ready: nothing said") << EstadoImpressora::Pronta << QString() << QString();
        QTest::newRow("no portrait") << EstadoImpressora::SemRetrato << "Impressora Normal"
                                     << "A impressora não permite impressão horizontal.";
        QTest::newRow("no printer") << EstadoImpressora::SemImpressora << "Instalar Impressora"
                                    << "Tem que instalar uma impressora!\rPara utilizar todo recurso do Programa.";
    }

    void avisoDoEstado()
    {
        QFETCH(EstadoImpressora, estado);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);

        auto* dialogs = new desktop::ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(dialogs));
        QList<int> sons;
        desktop::observaSons([&sons](int som) { sons.append(som); });
        preview::avisaEstadoDaImpressora(estado);
        desktop::observaSons({});

        if (titulo.isEmpty()) {
            QVERIFY(dialogs->mensagens().isEmpty());
            QVERIFY(sons.isEmpty());
            return;
        }
        QCOMPARE(dialogs->mensagens().size(), 1);
        QCOMPARE(dialogs->mensagens().first().titulo, titulo);
        QCOMPARE(dialogs->mensagens().first().texto, texto);
        QCOMPARE(dialogs->mensagens().first().botoes, Dialogs::Botoes::Ok);
        QCOMPARE(sons, QList<int>{int(desktop::Som::Erro)});
    }

    // A report goes to the printer a page at a time as it is composed: the pages asked for are printed, the others
    // only laid out, and the pages the viewer shows stay as they were.
    void reportPrintsThePagesAskedFor_data()
    {
        QTest::addColumn<int>("de");
        QTest::addColumn<int>("ate");
        QTest::addColumn<int>("impressas");

        QTest::newRow("every page") << 0 << 0 << 6;
        QTest::newRow("pages 2 to 3") << 2 << 3 << 2;
        QTest::newRow("range past the last page") << 5 << 9 << 2;
    }

    void reportPrintsThePagesAskedFor()
    {
        QFETCH(int, de);
        QFETCH(int, ate);
        QFETCH(int, impressas);

        PastaDeTeste dados(true);
        QVERIFY(dados.valida());
        platform::Database banco(QStringLiteral("teste-impressora-relatorio"));
        banco.open(dados.local());
        {
            printing::Relatorio relatorio(printing::TipoRelatorio::Todos, banco, QString());
            QVERIFY(relatorio.preparaPaginas());
            QTemporaryDir pasta;
            const QString arquivo = pasta.filePath(QStringLiteral("impresso.pdf"));
            QPrinter impressora(QPrinter::HighResolution);
            impressora.setOutputFormat(QPrinter::PdfFormat);
            impressora.setOutputFileName(arquivo);
            if (de > 0) {
                impressora.setPrintRange(QPrinter::PageRange);
                impressora.setFromTo(de, ate);
            }
            QVERIFY(preview::imprime(relatorio, impressora));
            QFile pdf(arquivo);
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?!s)"));
            QCOMPARE(QString::fromLatin1(pdf.readAll()).count(pagina), impressas);
            QCOMPARE(relatorio.paginas().pageCount(), 6);
        }
        banco.close();
    }
};

QUENVAR_TEST(TestImpressora)
#include "tst_impressora.moc"
