#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "preview/imptraco.h"
#include "preview/janeladabetonada.h"
#include "printing/documento.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <memory>

class TestJanelaDaBetonada : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    platform::Database m_banco{QStringLiteral("teste-janela-betonada")};

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco.open(m_pasta.local());
    }

    void cleanupTestCase() { m_banco.close(); }

    // The window opens on a 400 L mixer; the boxes typed then give the sheet again, or the message and no sheet.
    void calcula_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("litros");
        QTest::addColumn<bool>("meioSaco");
        QTest::addColumn<QString>("esperado"); // a line of the sheet, or the message

        QTest::newRow("whole bags") << "Concreto fck 25"
                                    << "400" << false << "Cimento: 3 sacos (três sacos)";
        QTest::newRow("half bags") << "Concreto fck 25"
                                   << "300" << true << "Cimento: 2 sacos e meio (dois sacos e meio)";
        QTest::newRow("by loose volume") << "Concreto Magro"
                                         << "165" << false << "Cimento: 1 saco (um saco)";
        QTest::newRow("capacity in words")
            << "Concreto fck 25"
            << "dez" << false << "A capacidade da betoneira deve ser um número; veio \"dez\".";
        QTest::newRow("mixer too small")
            << "Concreto fck 25"
            << "50" << false
            << "Na betoneira de 50 L não cabe nem um saco de cimento deste traço: um saco rende 115,7 L de concreto.";
    }

    void calcula()
    {
        QFETCH(QString, nome);
        QFETCH(QString, litros);
        QFETCH(bool, meioSaco);
        QFETCH(QString, esperado);

        auto* dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        bool calculou = false;
        int paginasAoAbrir = 0;
        QStringList linhas;
        dialogs->proximoModal([&](QDialog* d) {
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
        QCOMPARE(dialogs->modaisMostrados().size(), 1);
        QCOMPARE(paginasAoAbrir, 1);
        QCOMPARE(calculou, dialogs->mensagens().isEmpty());
        if (calculou)
            QVERIFY2(linhas.contains(esperado), qPrintable(linhas.join(QLatin1Char('|'))));
        else
            QCOMPARE(dialogs->mensagens().first().texto, esperado);
    }
};

QUENVAR_TEST(TestJanelaDaBetonada)
#include "tst_janeladabetonada.moc"
