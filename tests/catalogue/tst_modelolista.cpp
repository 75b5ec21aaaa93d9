#include "testregistry.h"

#include "catalogue/catalogo.h"
#include "catalogue/modelolista.h"
#include "fixtures.h"
#include "geradorcatalogo.h"
#include "platform/colacao.h"
#include "platform/database.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using catalogue::ModeloLista;
using platform::Database;

namespace {

// The demo catalogue with names to fold, values missing and a slump written without its leading zero, so that every
// column has ties, gaps and texts a plain byte order would put elsewhere.
struct Lista
{
    Lista()
    {
        db.open(pasta.local());
        for (const char* sql : {
                 "UPDATE Tracos SET NomeTraco = 'Açaí Especial' WHERE NomeTraco = 'Contrapiso'",
                 "UPDATE Tracos SET NomeTraco = 'água fria', Resistencia = NULL WHERE NomeTraco = 'Concreto fck 15'",
                 "UPDATE Tracos SET Fator = '95', DataCotacao = NULL, TracoCimentoCod = 0 WHERE TracoVariante = 1",
                 "UPDATE Tracos SET PrecoCustoComPerda = NULL, DataCadastro = '01-02-2019' WHERE TracoVariante = 2",
             })
            db.exec(QString::fromUtf8(sql));
        modelo.abre();
    }
    QList<qint64> ordem() const
    {
        QList<qint64> chaves;
        for (int i = 0; i < modelo.rowCount(); ++i)
            chaves.append(modelo.codigoEm(i));
        return chaves;
    }
    PastaDeTeste pasta;
    Database db{QStringLiteral("lista")};
    ModeloLista modelo{db};
};

// -1, 0 or 1 as `a` comes before, with or after `b` in the column's own sense; a missing value after any other.
int comparaValores(int coluna, const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return int(a.isNull()) - int(b.isNull());
    if (coluna == ModeloLista::Cimento)
        return platform::comparaTextos(a.toString(), b.toString());
    const auto data = [](const QVariant& v) { return QDate::fromString(v.toString(), QStringLiteral("dd-MM-yyyy")); };
    if (coluna == ModeloLista::Cadastro || coluna == ModeloLista::Cotacao)
        return data(a) < data(b) ? -1 : data(b) < data(a) ? 1 : 0;
    return a.toDouble() < b.toDouble() ? -1 : b.toDouble() < a.toDouble() ? 1 : 0;
}

} // namespace

// The list of the whole catalogue: its orders, its filter and what it reads from the database.
class TestModeloLista : public QObject
{
    Q_OBJECT

private slots:
    // Every column in both senses: each pair of neighbouring lines in the column's order, the missing values
    // last, and the catalogue's own order (as the mix form walks it) between equal values.
    void ordemDeCadaColuna_data()
    {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<bool>("descendente");
        for (int c = 0; c < ModeloLista::NumeroDeColunas; ++c) {
            for (const bool desc : {false, true}) {
                QTest::newRow(QByteArray("coluna ") + QByteArray::number(c) + (desc ? " desc" : " asc")) << c << desc;
            }
        }
    }
    void ordemDeCadaColuna()
    {
        QFETCH(int, coluna);
        QFETCH(bool, descendente);
        Lista l;
        catalogue::Catalogo catalogo(l.db);
        catalogo.abre();
        QHash<qint64, int> lugar;
        for (int i = 0; i < catalogo.total(); ++i)
            lugar.insert(catalogo.tracos().chaveEm(i), i);
        QHash<qint64, QVariant> valor;
        QSqlQuery q = l.db.exec(
            QStringLiteral("SELECT Tracos.Codigo, Tracos.NomeTraco, Tracos.TracoVariante, Tracos.Plantao, "
                           "Tracos.Resistencia, Tracos.Fator, Produtos.NomeProduto, Tracos.PrecoCustoComPerda, "
                           "Tracos.DataCadastro, Tracos.DataCotacao FROM Tracos "
                           "LEFT JOIN Produtos ON Produtos.CodigoProduto = Tracos.TracoCimentoCod"));
        while (q.next())
            valor.insert(q.value(0).toLongLong(), q.value(coluna + 1));

        l.modelo.sort(coluna, descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
        const QList<qint64> ordem = l.ordem();
        QCOMPARE(ordem.size(), catalogo.total());
        for (int i = 1; i < ordem.size(); ++i) {
            const qint64 a = ordem.at(i - 1);
            const qint64 b = ordem.at(i);
            const QByteArray onde = QByteArray::number(i);
            if (coluna == ModeloLista::Traco) {
                QVERIFY2(descendente ? lugar[a] > lugar[b] : lugar[a] < lugar[b], onde);
                continue;
            }
            int c = comparaValores(coluna, valor[a], valor[b]);
            if (descendente && !valor[a].isNull() && !valor[b].isNull())
                c = -c;
            QVERIFY2(c < 0 || (c == 0 && lugar[a] < lugar[b]), onde);
        }
    }

    // The filter on any part of the name without accents or case, and the mixes in use alone, keeping the order.
    void filtro_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("soEmUso");
        QTest::addColumn<QString>("condicao"); // the same mixes, chosen by the database
        const QString acai = QStringLiteral("NomeTraco = 'Açaí Especial'");
        QTest::newRow("sem acento") << "acai" << false << acai;
        QTest::newRow("maiúsculas acentuadas, meio do nome") << "ÇAÍ ESP" << false << acai;
        QTest::newRow("acento onde o nome não tem") << "ÁGUA" << false << "NomeTraco = 'água fria'";
        QTest::newRow("parte comum, em uso") << " fck " << true << "NomeTraco LIKE '%fck%' AND Plantao = TRUE";
        QTest::newRow("só em uso") << "" << true << "Plantao = TRUE";
        QTest::newRow("nenhum") << "xyz" << false << "1 = 0";
    }
    void filtro()
    {
        QFETCH(QString, texto);
        QFETCH(bool, soEmUso);
        QFETCH(QString, condicao);
        Lista l;
        const QList<qint64> todos = l.ordem();
        l.modelo.defineFiltro(texto);
        l.modelo.defineSoEmUso(soEmUso);
        QList<qint64> esperados;
        QSqlQuery q = l.db.exec(QStringLiteral("SELECT Codigo FROM Tracos WHERE ") + condicao);
        while (q.next())
            esperados.append(q.value(0).toLongLong());
        QList<qint64> achados = l.ordem();
        // The mixes kept, in the order of the whole list.
        QList<qint64> naOrdem = todos;
        naOrdem.removeIf([&](qint64 c) { return !esperados.contains(c); });
        QCOMPARE(achados, naOrdem);
    }

    // What each column shows of a mix: variant in two digits, the decimal comma, the cement by its product.
    void textos()
    {
        Lista l;
        l.db.exec(QStringLiteral("UPDATE Tracos SET TracoVariante = 7, Plantao = TRUE, Resistencia = 25, Fator = '80', "
                                 "TracoCimentoCod = (SELECT CodigoProduto FROM Produtos WHERE NomeProduto = "
                                 "'Cimento 32'), PrecoCustoComPerda = 1234.567, DataCadastro = '03-04-2025', "
                                 "DataCotacao = '05-06-2026', Volumetrico = 0, Dosagem = 0 "
                                 "WHERE NomeTraco = 'Açaí Especial'"));
        // 50 kg CO2e a 50 kg bag: 1 kg CO2e per kg of cement, 35 kg a batch and 359.3 kg a m³; the sands and the
        // aggregate have no factor.
        l.db.exec(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, 50 FROM "
                                 "Produtos WHERE NomeProduto = 'Cimento 32'"));
        l.modelo.recarrega();
        l.modelo.defineFiltro(QStringLiteral("açaí"));
        QCOMPARE(l.modelo.rowCount(), 1);
        QStringList linha;
        for (int c = 0; c < ModeloLista::NumeroDeColunas; ++c)
            linha << l.modelo.data(l.modelo.index(0, c)).toString();
        QCOMPARE(linha, QString::fromUtf8(
                            "Açaí Especial|07|Sim|25|80|Cimento 32|1.234,57|03-04-2025|05-06-2026|359,3 (parcial)")
                            .split(QLatin1Char('|')));
    }

    // A hundred thousand mixes: opening reads no line, a screen of lines one or two blocks, lines seen again and the
    // filter nothing more.
    void leituraSobDemanda()
    {
        if (teste::noServidor())
            QSKIP("o catálogo grande é gerado num arquivo");
        QTemporaryDir dir;
        const QString pasta = dir.filePath(QStringLiteral("grande/"));
        QVERIFY(GeradorCatalogo::cria(pasta, 100000).ok);
        Database db(QStringLiteral("grande"));
        db.open(pasta + QStringLiteral("Dados/empresa.mdb"));
        ModeloLista modelo(db);
        modelo.abre();
        QCOMPARE(modelo.rowCount(), 100000);
        QCOMPARE(modelo.blocosLidos(), 0);
        const auto tela = [&](int inicio) {
            for (int linha = inicio; linha < inicio + 40; ++linha) {
                for (int c = 0; c < ModeloLista::NumeroDeColunas; ++c)
                    modelo.data(modelo.index(linha, c));
            }
        };
        tela(50000);
        QVERIFY(modelo.blocosLidos() <= 2);
        const int lidos = modelo.blocosLidos();
        const qint64 codigo = modelo.codigoEm(50010);
        QCOMPARE(modelo.data(modelo.index(50010, ModeloLista::Traco)).toString(),
                 db.scalar(QStringLiteral("SELECT NomeTraco FROM Tracos WHERE Codigo = ?"), {codigo}).toString());
        tela(50000);
        QCOMPARE(modelo.blocosLidos(), lidos);
        modelo.defineFiltro(QStringLiteral("obra 1"));
        QVERIFY(modelo.rowCount() > 0 && modelo.rowCount() < 100000);
        QCOMPARE(modelo.blocosLidos(), lidos);
    }
};

QUENVAR_TEST(TestModeloLista)
#include "tst_modelolista.moc"
