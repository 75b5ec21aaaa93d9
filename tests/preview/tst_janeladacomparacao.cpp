#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "preview/janeladacomparacao.h"
#include "printing/documento.h"

#include <QSqlQuery>
#include <QTest>

#include <memory>

class TestJanelaDaComparacao : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    platform::Database m_banco{QStringLiteral("teste-janela-comparacao")};

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco.open(m_pasta.local());
    }

    void cleanupTestCase() { m_banco.close(); }

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
        QTest::newRow("five mixes by key") << "" << 5 << ""
                                           << "Escolha no máximo 4 traços para comparar; foram escolhidos 5.";
    }

    void abre()
    {
        QFETCH(QString, nome);
        QFETCH(int, quantos);
        QFETCH(QString, titulo);
        QFETCH(QString, mensagem);

        auto* dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        QString legenda;
        int paginas = 0;
        dialogs->proximoModal([&](QDialog* d) {
            legenda = d->windowTitle();
            paginas = static_cast<preview::JanelaDaComparacao*>(d)->documento().pageCount();
            return int(QDialog::Accepted);
        });

        QList<qint64> codigos;
        QSqlQuery q = m_banco.exec(QStringLiteral("SELECT Codigo FROM Tracos ORDER BY Codigo"));
        while (q.next() && codigos.size() < quantos)
            codigos.append(q.value(0).toLongLong());
        const bool mostrou = nome.isEmpty() ? preview::mostraComparacao(nullptr, m_banco, codigos)
                                            : preview::comparaVariantes(nullptr, m_banco, nome);

        QCOMPARE(mostrou, mensagem.isEmpty());
        QCOMPARE(dialogs->modaisMostrados().size(), mensagem.isEmpty() ? 1 : 0);
        QCOMPARE(dialogs->mensagens().size(), mensagem.isEmpty() ? 0 : 1);
        if (!mensagem.isEmpty())
            QCOMPARE(dialogs->mensagens().first().texto, mensagem);
        else
            QCOMPARE(paginas, 1);
        if (!titulo.isEmpty())
            QCOMPARE(legenda, titulo);
    }
};

QUENVAR_TEST(TestJanelaDaComparacao)
#include "tst_janeladacomparacao.moc"
