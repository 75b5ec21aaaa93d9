#include "testregistry.h"

#include "platform/aplicacao.h"

#include <QCoreApplication>
#include <QTest>

// Qt's own dialogs speak Portuguese once the program installs Qt's translation.
class TestTraducao : public QObject
{
    Q_OBJECT

private slots:
    void textosDoQt_data()
    {
        QTest::addColumn<QString>("contexto");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("traduzido");
        const char* const textos[][4] = {
            {"botão Cancelar", "QPlatformTheme", "Cancel", "Cancelar"},
            {"botão Salvar", "QPlatformTheme", "Save", "Salvar"},
            {"diálogo de arquivo", "QFileDialog", "Look in:", "Procurar em:"},
            {"diálogo de impressão", "QPrintDialog", "Print", "Imprimir"},
        };
        for (const auto& [linha, contexto, original, traduzido] : textos)
            QTest::newRow(linha) << contexto << original << QString::fromUtf8(traduzido);
    }
    void textosDoQt()
    {
        QFETCH(QString, contexto);
        QFETCH(QString, original);
        QFETCH(QString, traduzido);
        QVERIFY(platform::Aplicacao::traduzOQt());
        QCOMPARE(QCoreApplication::translate(contexto.toLatin1().constData(), original.toLatin1().constData()),
                 traduzido);
    }
};

QUENVAR_TEST(TestTraducao)
#include "tst_traducao.moc"
