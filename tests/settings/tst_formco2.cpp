#include "testregistry.h"

#include "ambiente.h"
#include "settings/formco2.h"

#include <QPushButton>
#include <QTableWidget>

using settings::FormCO2;

namespace {

// The factors stored, as "product=factor" in the order of the codes; a factor whose product is gone as "?=factor".
QStringList guardados()
{
    QStringList lista;
    QSqlQuery q = platform::Database::shared().exec(
        QStringLiteral("SELECT p.NomeProduto, f.FatorCO2 FROM FatoresEmissao f "
                       "LEFT JOIN Produtos p ON p.CodigoProduto = f.CodigoProduto ORDER BY f.CodigoProduto"));
    while (q.next())
        lista.append((q.value(0).isNull() ? QStringLiteral("?") : q.value(0).toString()) + QLatin1Char('=') +
                     QString::number(q.value(1).toDouble()));
    return lista;
}

} // namespace

class TestFormCO2 : public QObject
{
    Q_OBJECT

private:
    Ambiente m_ambiente;

private slots:
    void init()
    {
        QVERIFY(m_ambiente.prepara());
        for (const char* nome : {"Cimento 32", "Areia Grossa", "Aditivo X"})
            Ambiente::executa(QStringLiteral("INSERT INTO Produtos (NomeProduto, Peso) VALUES (?, 50)"),
                              {QString::fromUtf8(nome)});
        // The admixture has a factor already; another belongs to a product deleted since.
        Ambiente::executa(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, 2 "
                                         "FROM Produtos WHERE NomeProduto = 'Aditivo X'"));
        Ambiente::executa(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) VALUES (9999, 7)"));
    }
    void cleanup() { m_ambiente.encerra(); }

    void grava_data()
    {
        QTest::addColumn<QStringList>("digitados"); // the factor cells of the three products
        QTest::addColumn<QStringList>("esperados");
        QTest::addColumn<QString>("mensagem");  // what the refusal says; empty when the factors are written
        QTest::addColumn<bool>("outraEstacao"); // another workstation sets the admixture's factor to 3 meanwhile

        const QStringList antes{"Aditivo X=2", "?=7"};
        QTest::newRow("decimal comma, blank is no factor, 0 is a factor")
            << QStringList{"34,5", "0", ""} << QStringList{"Cimento 32=34.5", "Areia Grossa=0"} << QString() << false;
        QTest::newRow("a factor left as read keeps another workstation's")
            << QStringList{"34,5", "", "2"} << QStringList{"Cimento 32=34.5", "Aditivo X=3"} << QString() << true;
        QTest::newRow("text refused, nothing written")
            << QStringList{"34,5", "abc", ""} << antes << QStringLiteral("Areia Grossa: O fator de emissão") << false;
        QTest::newRow("negative refused")
            << QStringList{"-1", "", "2"} << antes << QStringLiteral("veio \"-1\"") << false;
    }

    void grava()
    {
        QFETCH(QStringList, digitados);
        QFETCH(QStringList, esperados);
        QFETCH(QString, mensagem);
        QFETCH(bool, outraEstacao);

        auto form = m_ambiente.abre<FormCO2>();
        QVERIFY(form);
        QTableWidget* tabela = form->tabela();
        QCOMPARE(tabela->rowCount(), 3);
        QCOMPARE(tabela->item(2, FormCO2::ColunaFator)->text(), QStringLiteral("2"));
        if (outraEstacao)
            Ambiente::executa(QStringLiteral("UPDATE FatoresEmissao SET FatorCO2 = 3 WHERE CodigoProduto = (SELECT "
                                             "CodigoProduto FROM Produtos WHERE NomeProduto = 'Aditivo X')"));
        for (int i = 0; i < digitados.size(); ++i)
            tabela->item(i, FormCO2::ColunaFator)->setText(digitados[i]);
        form->findChild<QPushButton*>(QStringLiteral("BotaoCO20"))->click();

        QCOMPARE(guardados(), esperados);
        QCOMPARE(form->isVisible(), !mensagem.isEmpty());
        QCOMPARE(m_ambiente.dialogs->mensagens().size(), mensagem.isEmpty() ? 0 : 1);
        if (!mensagem.isEmpty())
            QVERIFY2(m_ambiente.dialogs->mensagens().first().texto.contains(mensagem),
                     qPrintable(m_ambiente.dialogs->mensagens().first().texto));
    }
};

QUENVAR_TEST(TestFormCO2)
#include "tst_formco2.moc"
