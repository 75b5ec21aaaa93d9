#include "testregistry.h"

#include "platform/aplicacao.h"
#include "platform/paths.h"
#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using platform::Paths;

class TestPaths : public QObject
{
    Q_OBJECT

private slots:
    void separadorSoQuandoFalta_data()
    {
        QTest::addColumn<QString>("pasta");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("sem separador") << QStringLiteral("/opt/quenvar") << "/opt/quenvar/";
        QTest::newRow("raiz") << QStringLiteral("/") << "/";
        QTest::newRow("já termina em barra") << QStringLiteral("/opt/quenvar/") << "/opt/quenvar/";
        QTest::newRow("barra invertida") << QStringLiteral("C:\\Quenvar\\") << "C:\\Quenvar\\";
    }
    void separadorSoQuandoFalta()
    {
        QFETCH(QString, pasta);
        QFETCH(QString, esperado);
        QCOMPARE(Paths::comSeparador(pasta), esperado);
    }

    // The help and sounds beside the executable (build tree), or under share/quenvar beside its bin/ (installed).
    void pastaRecursos_data()
    {
        QTest::addColumn<QStringList>("pastas");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("árvore de build") << QStringList{"bin/Ajuda/Quenvar"} << "bin/";
        QTest::newRow("instalado") << QStringList{"bin", "share/quenvar/Ajuda/Quenvar"} << "share/quenvar/";
        QTest::newRow("a da pasta do programa vence") << QStringList{"bin/Ajuda", "share/quenvar/Ajuda"} << "bin/";
        QTest::newRow("nenhuma") << QStringList{"bin"} << "bin/";
    }
    void pastaRecursos()
    {
        QFETCH(QStringList, pastas);
        QFETCH(QString, esperada);
        QTemporaryDir raiz;
        for (const QString& pasta : pastas)
            QVERIFY(QDir(raiz.path()).mkpath(pasta));
        const QString antes = Paths::pastaPrograma();
        Paths::definePastaPrograma(raiz.filePath(QStringLiteral("bin")));
        const QString obtida = Paths::pastaRecursos();
        Paths::definePastaPrograma(antes);
        QCOMPARE(obtida, raiz.path() + QLatin1Char('/') + esperada);
    }

    void primeiraLinha_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("uma linha") << QByteArray("/srv/dados/\n") << "/srv/dados/";
        QTest::newRow("sem fim de linha") << QByteArray("/srv/dados/") << "/srv/dados/";
        QTest::newRow("CR LF") << QByteArray("\\\\servidor\\dados\\\r\nlixo\r\n") << "\\\\servidor\\dados\\";
        QTest::newRow("só a primeira conta") << QByteArray("/a/\n/b/\n/c/\n") << "/a/";
        QTest::newRow("sem aparar brancos") << QByteArray("  /a/ \n") << "  /a/ ";
        QTest::newRow("sem separador final") << QByteArray("/srv/dados") << "/srv/dados";
        QTest::newRow("vazio") << QByteArray() << "";
        QTest::newRow("utf-8") << QByteArray("/srv/concreção/\n") << "/srv/concreção/";
        QTest::newRow("latin-1") << QByteArray("/srv/concre\xe7\xe3o/\n") << "/srv/concreção/";
        QTest::newRow("BOM") << QByteArray("\xef\xbb\xbf/srv/\n") << "/srv/";
    }
    void primeiraLinha()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, esperado);
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("Caminho.dad")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        f.close();
        QCOMPARE(Paths::primeiraLinha(f.fileName()), std::optional<QString>(esperado));
    }

    // A huge file without line ends is read only up to a sane limit. (A missing or binary file is the start-up's
    // business, tested there.)
    void arquivoEnormeLidoAteUmLimite()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("enorme.dad")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8 * 1024 * 1024, 'x'));
        f.close();
        const std::optional<QString> linha = Paths::primeiraLinha(f.fileName());
        QVERIFY(linha.has_value());
        QVERIFY(linha->size() <= 64 * 1024);
    }

    void caminhosDosDados()
    {
        Paths::definePastaDados(QStringLiteral("/srv/empresa/"));
        QCOMPARE(Paths::bancoDeDados(), QStringLiteral("/srv/empresa/Dados/empresa.mdb"));
        QCOMPARE(Paths::logDeErros(), QStringLiteral("/srv/empresa/Dados/Erros.txt"));
        QCOMPARE(Paths::logotipo(), QStringLiteral("/srv/empresa/Imagens/logo.bmp"));
        // A folder without its trailing separator runs into the file names, as it always has.
        Paths::definePastaDados(QStringLiteral("/srv/empresa"));
        QCOMPARE(Paths::bancoDeDados(), QStringLiteral("/srv/empresaDados/empresa.mdb"));
    }

    void segundaCopiaAtivaAPrimeira()
    {
        const QString titulo = QStringLiteral("QuenvarTeste") + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance primeira(titulo);
        platform::SingleInstance antes(titulo);
        // With no copy running, nobody answers.
        QVERIFY(!antes.ativandoAnterior());
        QVERIFY(primeira.escuta());
        QSignalSpy pedidos(&primeira, &platform::SingleInstance::ativacaoPedida);
        platform::SingleInstance segunda(titulo);
        QVERIFY(segunda.ativandoAnterior());
        QVERIFY(pedidos.wait(5000));
        QCOMPARE(pedidos.size(), 1);
    }

    // Qt's own dialogs speak Portuguese once the program installs Qt's translation.
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

QUENVAR_TEST(TestPaths)
#include "tst_paths.moc"
