#include "fixtures.h"
#include "testregistry.h"

#include "platform/database.h"
#include "printing/comparacao.h"
#include "printing/documento.h"
#include "printing/folhadacomparacao.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <optional>

using printing::Comparacao;
using printing::LinhaDaComparacao;

class TestComparacao : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    platform::Database m_banco{QStringLiteral("teste-comparacao")};

    qint64 codigo(const QString& nome, int variante)
    {
        return m_banco
            .scalar(QStringLiteral("SELECT Codigo FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?"),
                    {nome, variante})
            .toLongLong();
    }

    // A field of the stored row; nothing when it is Null or, for a material, 0 (not used).
    std::optional<double> campo(qint64 codigo, const QString& nome, bool material)
    {
        const QVariant v = m_banco.scalar(QStringLiteral("SELECT %1 FROM Tracos WHERE Codigo = ?").arg(nome), {codigo});
        if (v.isNull() || (material && v.toDouble() == 0.0))
            return std::nullopt;
        return v.toDouble();
    }

    static bool perto(double a, double b) { return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(b)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco.open(m_pasta.local());
    }

    void cleanupTestCase() { m_banco.close(); }

    // Two demo mixes by mass, whose stored per-m3 fields are what the sheet shows; `percentual` says what the per
    // cent must be: "%" taken of the first's figure, or the text shown instead, or empty for no difference at all.
    void diferencas_data()
    {
        QTest::addColumn<QString>("primeiro");
        QTest::addColumn<int>("v1");
        QTest::addColumn<QString>("segundo");
        QTest::addColumn<int>("v2");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<bool>("material");
        QTest::addColumn<QString>("percentual");

        const QString f20 = QStringLiteral("Concreto fck 20");
        const QString f25 = QStringLiteral("Concreto fck 25");
        const QString bombeado = QStringLiteral("Concreto Bombeado fck 30");
        QTest::newRow("cement, variants of a name") << f20 << 0 << f20 << 1 << "Cimento" << false << "%";
        QTest::newRow("strength") << f25 << 1 << bombeado << 0 << "Resistencia" << false << "%";
        QTest::newRow("admixture the second adds: no per cent")
            << f25 << 0 << bombeado << 0 << "AditivoQde2" << true << "—";
        QTest::newRow("coarse aggregate the second leaves out")
            << f20 << 0 << f20 << 1 << "Graudo1" << true << "-100,0%";
        QTest::newRow("coarse aggregate neither uses") << f20 << 1 << f25 << 1 << "Graudo1" << true << "";
    }

    void diferencas()
    {
        QFETCH(QString, primeiro);
        QFETCH(int, v1);
        QFETCH(QString, segundo);
        QFETCH(int, v2);
        QFETCH(QString, chave);
        QFETCH(bool, material);
        QFETCH(QString, percentual);

        const qint64 a = codigo(primeiro, v1);
        const qint64 b = codigo(segundo, v2);
        QVERIFY(a > 0 && b > 0);
        const Comparacao c = Comparacao::le(m_banco, {a, b});
        const LinhaDaComparacao* linha = c.linha(chave);
        QVERIFY(linha);
        const std::optional<double> base = campo(a, chave, material);
        const std::optional<double> outro = campo(b, chave, material);

        for (const auto& [coluna, esperado] : {std::pair{0, base}, std::pair{1, outro}}) {
            QCOMPARE(linha->valores[coluna].has_value(), esperado.has_value());
            // A material not used is a blank, not 0.
            QCOMPARE(linha->textos[coluna].isEmpty(), !esperado.has_value());
            if (esperado)
                QVERIFY2(perto(*linha->valores[coluna], *esperado), qPrintable(linha->textos[coluna]));
        }

        if (percentual.isEmpty()) {
            QVERIFY(!linha->diferencas[1]);
            QVERIFY(linha->textosDasDiferencas[1].isEmpty());
            return;
        }
        const double diferenca = outro.value_or(0.0) - base.value_or(0.0);
        QVERIFY(linha->diferencas[1]);
        QVERIFY2(perto(*linha->diferencas[1], diferenca), qPrintable(linha->textosDasDiferencas[1]));
        if (std::abs(diferenca) >= 0.5)
            QVERIFY(linha->textosDasDiferencas[1].startsWith(diferenca > 0 ? QLatin1Char('+') : QLatin1Char('-')));
        if (percentual == QLatin1String("%")) {
            QVERIFY(linha->percentuais[1]);
            QVERIFY(perto(*linha->percentuais[1], diferenca / *base * 100.0));
            QVERIFY(linha->textosDosPercentuais[1].endsWith(QLatin1Char('%')));
        } else {
            QCOMPARE(linha->textosDosPercentuais[1], percentual);
        }
        QVERIFY(!linha->diferencas[0]);
    }

    // Four mixes on one page: the differences under the figures, and no text leaving the printable width or running
    // into another.
    void pagina()
    {
        const QString f25 = QStringLiteral("Concreto fck 25");
        const Comparacao c = Comparacao::le(
            m_banco, {codigo(f25, 0), codigo(f25, 1), codigo(f25, 2), codigo(QStringLiteral("Contrapiso"), 0)});
        printing::Documento folha;
        printing::ImprimeComparacao(folha, c);
        QCOMPARE(folha.pageCount(), 1);
        QVERIFY(!c.empresa().isEmpty());

        const QList<printing::ItemTexto>& itens = folha.textos();
        for (qsizetype i = 0; i < itens.size(); ++i) {
            const QRectF& caixa = itens[i].caixa;
            QVERIFY2(caixa.left() >= folha.marginLeft() - 0.5 &&
                         caixa.right() <= folha.pageWidth() - folha.marginRight() + 0.5,
                     qPrintable(itens[i].texto));
            for (qsizetype j = i + 1; j < itens.size(); ++j) {
                const QRectF comum = caixa.intersected(itens[j].caixa);
                QVERIFY2(comum.width() < 1.0 || comum.height() < 1.0,
                         qPrintable(itens[i].texto + QStringLiteral(" / ") + itens[j].texto));
            }
        }

        // The cement of the last mix, and its difference under it in a smaller type.
        const LinhaDaComparacao* cimento = c.linha(QStringLiteral("Cimento"));
        const auto item = [&](const QString& inicio) {
            const auto it =
                std::find_if(itens.begin(), itens.end(), [&](const auto& t) { return t.texto.startsWith(inicio); });
            return it == itens.end() ? printing::ItemTexto{} : *it;
        };
        const printing::ItemTexto valor = item(cimento->textos[3]);
        const printing::ItemTexto diferenca = item(cimento->textosDasDiferencas[3] + QStringLiteral("  ("));
        QVERIFY(diferenca.caixa.top() >= valor.caixa.bottom() - 0.5);
        QVERIFY(std::abs(diferenca.caixa.center().x() - valor.caixa.center().x()) < 1.0);
        QVERIFY(diferenca.fonte.tamanho < valor.fonte.tamanho);
    }
};

QUENVAR_TEST(TestComparacao)
#include "tst_comparacao.moc"
