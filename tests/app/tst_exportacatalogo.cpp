#include "testregistry.h"

#include "app/exportacatalogo.h"
#include "desktop/scripteddialogs.h"
#include "janelateste.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using desktop::Dialogs;
using desktop::ScriptedDialogs;

class TestExportaCatalogo : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
    }
    void cleanup() { app::ExportaCatalogo::defineEscolhaDeArquivo({}); }

    void exportFromTheMenu_data()
    {
        QTest::addColumn<int>("resposta"); // to "every mix?"
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<QString>("aviso"); // the last message; empty when the file is not asked for
        QTest::addColumn<QByteArray>("inicio");

        QTest::newRow("every mix to CSV") << int(Dialogs::Resposta::Sim) << "catálogo.csv"
                                          << "12 traços gravados em" << QByteArray("\xEF\xBB\xBFTraço;");
        QTest::newRow("mixes in use to XLSX") << int(Dialogs::Resposta::Nao) << "em uso.XLSX"
                                              << "7 traços gravados em" << QByteArray("PK");
        QTest::newRow("a type the program does not write") << int(Dialogs::Resposta::Sim) << "catálogo.txt"
                                                           << "não é de um tipo que o Quenvar grava" << QByteArray();
        QTest::newRow("cancelled at the question")
            << int(Dialogs::Resposta::Cancelar) << "nada.csv" << QString() << QByteArray();
    }

    // The tool asks which mixes, then the file, writes it and says where it went; nothing is written otherwise.
    void exportFromTheMenu()
    {
        QFETCH(int, resposta);
        QFETCH(QString, arquivo);
        QFETCH(QString, aviso);
        QFETCH(QByteArray, inicio);

        teste::Janela j;
        QTemporaryDir dir;
        const QString caminho = dir.filePath(arquivo);
        int perguntas = 0;
        app::ExportaCatalogo::defineEscolhaDeArquivo([&](QWidget*, const QString&) {
            ++perguntas;
            return caminho;
        });
        m_dialogs->proximaResposta(Dialogs::Resposta(resposta));
        j.traco->ferramenta(QStringLiteral("ID_ExportarCatalogo"))->trigger();

        QCOMPARE(perguntas, aviso.isEmpty() ? 0 : 1);
        QCOMPARE(m_dialogs->mensagens().size(), aviso.isEmpty() ? 1 : 2);
        QVERIFY(m_dialogs->mensagens().last().texto.contains(aviso));
        QFile gravado(caminho);
        QCOMPARE(gravado.open(QIODevice::ReadOnly) ? gravado.read(inicio.size()) : QByteArray(), inicio);
    }
};

QUENVAR_TEST(TestExportaCatalogo)
#include "tst_exportacatalogo.moc"
