#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "preview/impressora.h"

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
};

QUENVAR_TEST(TestImpressora)
#include "tst_impressora.moc"
