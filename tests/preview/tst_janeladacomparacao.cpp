#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "preview/janeladacomparacao.h"
#include "preview/previatraco.h"
#include "printing/documento.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestJanelaDaComparacao : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    std::unique_ptr<platform::Database> m_banco;
    desktop::ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco = std::make_unique<platform::Database>(QStringLiteral("teste-janela-comparacao"));
        m_banco->open(m_pasta.local());
    }

    void cleanupTestCase()
    {
        preview::PreviaTraco::defineEscolhaDeArquivo({});
        m_banco->close();
    }

    void init()
    {
        auto dialogs = std::make_unique<desktop::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        desktop::Dialogs::instala(std::move(dialogs));
    }

    // A name's variants (the one in use first), or the first mixes of the catalogue by their keys; a count that
    // will not do is told and opens nothing.
    void abre_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("quantos");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("variants, the one in use first")
            << "Concreto fck 15" << 0 << "Comparação de Traços [Concreto fck 15 - 01; Concreto fck 15 - 00]"
            << "";
        QTest::newRow("a single variant") << "Contrapiso" << 0 << ""
                                          << "Este traço tem uma só variante: não há com o que compará-lo.";
        QTest::newRow("four mixes by key") << "" << 4 << ""
                                           << "";
        QTest::newRow("one mix by key") << "" << 1 << ""
                                        << "Escolha pelo menos 2 traços para comparar.";
        QTest::newRow("five mixes by key") << "" << 5 << ""
                                           << "Escolha no máximo 4 traços para comparar; foram escolhidos 5.";
    }

    void abre()
    {
        QFETCH(QString, nome);
        QFETCH(int, quantos);
        QFETCH(QString, titulo);
        QFETCH(QString, mensagem);

        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(QStringLiteral("c.pdf"));
        preview::PreviaTraco::defineEscolhaDeArquivo([&](QWidget*, const QString&) { return pdf; });
        QString legenda;
        int paginas = 0;
        bool gravou = false;
        m_dialogs->proximoModal([&](QDialog* d) {
            auto* janela = qobject_cast<preview::JanelaDaComparacao*>(d);
            if (janela) {
                legenda = janela->windowTitle();
                paginas = janela->documento().pageCount();
                gravou = janela->previa()->salvarPdf();
            }
            return int(QDialog::Accepted);
        });

        bool mostrou = false;
        if (!nome.isEmpty()) {
            mostrou = preview::comparaVariantes(nullptr, *m_banco, nome);
        } else {
            QList<qint64> codigos;
            QSqlQuery q = m_banco->exec(QStringLiteral("SELECT Codigo FROM Tracos ORDER BY Codigo"));
            while (q.next() && codigos.size() < quantos)
                codigos.append(q.value(0).toLongLong());
            mostrou = preview::mostraComparacao(nullptr, *m_banco, codigos);
        }

        QCOMPARE(mostrou, mensagem.isEmpty());
        QCOMPARE(m_dialogs->modaisMostrados().size(), mensagem.isEmpty() ? 1 : 0);
        if (!mensagem.isEmpty()) {
            QCOMPARE(m_dialogs->mensagens().size(), 1);
            QCOMPARE(m_dialogs->mensagens().first().texto, mensagem);
            return;
        }
        QVERIFY(m_dialogs->mensagens().isEmpty());
        if (!titulo.isEmpty())
            QCOMPARE(legenda, titulo);
        QCOMPARE(paginas, 1);
        QVERIFY(gravou);
        QFile arquivo(pdf);
        QVERIFY(arquivo.open(QIODevice::ReadOnly) && arquivo.read(5) == "%PDF-");
    }
};

QUENVAR_TEST(TestJanelaDaComparacao)
#include "tst_janeladacomparacao.moc"
