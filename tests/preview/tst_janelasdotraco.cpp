#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "preview/impressora.h"
#include "preview/imptraco.h"
#include "preview/janeladabetonada.h"
#include "preview/janeladacomparacao.h"
#include "printing/documento.h"
#include "printing/relatorio.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using printing::EstadoImpressora;

// The mixer's window and the comparison's window over the demo catalogue, and the printing of what they show: what
// the boxes reach and what the user is told; the sums themselves are the calculation's and the report's own tests.
class TestJanelasDoTraco : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    platform::Database m_banco{QStringLiteral("teste-janelas-do-traco")};
    desktop::ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco.open(m_pasta.local());
    }
    void cleanupTestCase() { m_banco.close(); }
    void init()
    {
        m_dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(m_dialogs));
    }

    // The window opens on a 400 L mixer; the boxes typed then give the sheet again, or the message and no sheet.
    void betonada_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("litros");
        QTest::addColumn<bool>("meioSaco");
        QTest::addColumn<QString>("esperado"); // a line of the sheet, or the message

        QTest::newRow("half bags") << QStringLiteral("Concreto fck 25") << "300" << true
                                   << "Cimento: 2 sacos e meio (dois sacos e meio)";
        QTest::newRow("by loose volume") << QStringLiteral("Concreto Magro") << "165" << false
                                         << "Cimento: 1 saco (um saco)";
        QTest::newRow("capacity in words") << QStringLiteral("Concreto fck 25") << "dez" << false
                                           << "A capacidade da betoneira deve ser um número; veio \"dez\".";
        QTest::newRow("mixer too small")
            << QStringLiteral("Concreto fck 25") << "50" << false
            << "Na betoneira de 50 L não cabe nem um saco de cimento deste traço: um saco rende 115,7 L de concreto.";
    }
    void betonada()
    {
        QFETCH(QString, nome);
        QFETCH(QString, litros);
        QFETCH(bool, meioSaco);
        QFETCH(QString, esperado);
        bool calculou = false;
        int paginasAoAbrir = 0;
        QStringList linhas;
        m_dialogs->proximoModal([&](QDialog* d) {
            auto* janela = static_cast<preview::JanelaDaBetonada*>(d);
            janela->Litros->setText(litros);
            janela->MeioSaco->setChecked(meioSaco);
            paginasAoAbrir = janela->documento().pageCount();
            calculou = janela->calcula();
            for (const printing::ItemTexto& item : janela->documento().textos())
                linhas.append(item.texto);
            return int(QDialog::Accepted);
        });
        QSqlQuery q = m_banco.exec(
            QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? ORDER BY Plantao DESC, TracoVariante"), {nome});
        QVERIFY(q.next());

        QVERIFY(preview::mostraBetonada(nullptr, m_banco, preview::ImpTraco::camposDe(q.record())));
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        QCOMPARE(paginasAoAbrir, 1);
        QCOMPARE(calculou, m_dialogs->mensagens().isEmpty());
        if (calculou)
            QVERIFY2(linhas.contains(esperado), qPrintable(linhas.join(QLatin1Char('|'))));
        else
            QCOMPARE(m_dialogs->mensagens().first().texto, esperado);
    }

    // A name's variants (the one in use first), or the first mixes of the catalogue by their keys; a count that
    // will not do is told and opens nothing.
    void comparacao_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("quantos");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("variants, the one in use first")
            << "Concreto fck 15" << 0 << "Comparação de Traços [Concreto fck 15 - 01; Concreto fck 15 - 00]"
            << "";
        QTest::newRow("a single variant") << "Contrapiso" << 0 << QStringLiteral("")
                                          << "Este traço tem uma só variante: não há com o que compará-lo.";
        QTest::newRow("four mixes by key") << "" << 4 << QStringLiteral("") << "";
        QTest::newRow("five mixes by key") << "" << 5 << ""
                                           << "Escolha no máximo 4 traços para comparar; foram escolhidos 5.";
    }
    void comparacao()
    {
        QFETCH(QString, nome);
        QFETCH(int, quantos);
        QFETCH(QString, titulo);
        QFETCH(QString, mensagem);
        QString legenda;
        int paginas = 0;
        m_dialogs->proximoModal([&](QDialog* d) {
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
        QCOMPARE(m_dialogs->modaisMostrados().size(), mensagem.isEmpty() ? 1 : 0);
        QCOMPARE(m_dialogs->mensagens().size(), mensagem.isEmpty() ? 0 : 1);
        if (!mensagem.isEmpty())
            QCOMPARE(m_dialogs->mensagens().first().texto, mensagem);
        else
            QCOMPARE(paginas, 1);
        if (!titulo.isEmpty())
            QCOMPARE(legenda, titulo);
    }

    // What the window that shows a sheet tells the user when the sheet cannot be printed.
    void avisoDoEstado_data()
    {
        QTest::addColumn<EstadoImpressora>("estado");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");

        QTest::newRow("ready: nothing said") << EstadoImpressora::Pronta << QString() << QString();
        QTest::newRow("no portrait") << EstadoImpressora::SemRetrato << QStringLiteral("Impressora Normal")
                                     << "A impressora não permite impressão horizontal.";
        QTest::newRow("no printer") << EstadoImpressora::SemImpressora << QStringLiteral("Instalar Impressora")
                                    << "Tem que instalar uma impressora!\rPara utilizar todo recurso do Programa.";
    }

    void avisoDoEstado()
    {
        QFETCH(EstadoImpressora, estado);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);

        QList<int> sons;
        desktop::observaSons([&sons](int som) { sons.append(som); });
        preview::avisaEstadoDaImpressora(estado);
        desktop::observaSons({});

        if (titulo.isEmpty()) {
            QVERIFY(m_dialogs->mensagens().isEmpty());
            QVERIFY(sons.isEmpty());
            return;
        }
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, titulo);
        QCOMPARE(m_dialogs->mensagens().first().texto, texto);
        QCOMPARE(m_dialogs->mensagens().first().botoes, desktop::Dialogs::Botoes::Ok);
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

        {
            printing::Relatorio relatorio(printing::TipoRelatorio::Todos, m_banco, QString());
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
    }
};

QUENVAR_TEST(TestJanelasDoTraco)
#include "tst_janelasdotraco.moc"
