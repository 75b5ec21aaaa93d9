#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include "catalogue/consultas.h"
#include "catalogue/schema.h"
#include "platform/database.h"

#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using clitest::executa;
using Tipo = catalogue::Campo::Tipo;

namespace {

const std::map<QString, QString> kNomeDoProduto{{"TracoCimentoCod", "NomeCimento"},
                                                {"TracoGraudoCod1", "NomeGraudo1"},
                                                {"TracoGraudoCod2", "NomeGraudo2"},
                                                {"TracoAditivoCod1", "NomeAditivo1"},
                                                {"TracoAditivoCod2", "NomeAditivo2"}};

// The mixes of a data folder in the catalogue's order as the file should hold them: every field but the keys, the
// products by name, booleans, numbers and texts as such.
QJsonArray esperados(const platform::LocalDoBanco& banco, bool soEmUso)
{
    platform::Database db(QStringLiteral("tst_exportarimportar"));
    db.open(banco);
    const catalogue::Consulta c = soEmUso ? catalogue::Consultas::emUso(db) : catalogue::Consultas::catalogo(db);
    QSqlQuery q = db.exec(c.sql, c.valores);
    QJsonArray lista;
    while (q.next()) {
        QJsonObject objeto;
        for (const catalogue::Campo& campo : catalogue::Schema::tracos().campos) {
            const QVariant valor = q.value(campo.nome);
            if (kNomeDoProduto.count(campo.nome))
                objeto.insert(
                    kNomeDoProduto.at(campo.nome),
                    db.scalar(QStringLiteral("SELECT NomeProduto FROM Produtos WHERE CodigoProduto = ?"), {valor})
                        .toString());
            else if (campo.tipo == Tipo::Logico)
                objeto.insert(campo.nome, valor.toBool());
            else if (campo.tipo == Tipo::Texto)
                objeto.insert(campo.nome, valor.toString());
            else if (campo.tipo != Tipo::Chave && campo.tipo != Tipo::Versao && campo.nome != "CodigoTraco")
                objeto.insert(campo.nome, valor.toDouble());
        }
        lista.append(objeto);
    }
    return lista;
}

QJsonArray exporta(const QString& pasta, const QString& arquivo, const QStringList& opcoes = {})
{
    const clitest::Execucao run = executa(QStringList{"exportar", pasta, "--json", arquivo} + opcoes);
    if (run.status != 0 || !run.saida.isEmpty() || !run.erros.isEmpty())
        return {};
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).array() : QJsonArray();
}

// The file as it holds the stored fields: the CO2 written for the reader, null while the company has no factor (as in
// the demo), taken out; nothing when a mix lacks it.
QJsonArray semCO2(QJsonArray lista)
{
    for (qsizetype i = 0; i < lista.size(); ++i) {
        QJsonObject traco = lista[i].toObject();
        if (!traco.value(QStringLiteral("CO2")).isNull() || !traco.value(QStringLiteral("SemFatorCO2")).isArray())
            return {};
        traco.remove(QStringLiteral("CO2"));
        traco.remove(QStringLiteral("SemFatorCO2"));
        lista[i] = traco;
    }
    return lista;
}

QString gravaLista(const QTemporaryDir& dir, const QJsonArray& lista)
{
    const QString arquivo = dir.filePath(QStringLiteral("importar.json"));
    QFile f(arquivo);
    return f.open(QIODevice::WriteOnly) && f.write(QJsonDocument(lista).toJson()) > 0 ? arquivo : QString();
}

} // namespace

class TestExportarImportar : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_demo{true};
    QTemporaryDir m_dir;

private slots:
    // Every mix, or those in use, with its fields typed and its products named; then into a company whose products
    // have other codes: the same catalogue, recomputed with the same prices. A name the file has no mix in use of
    // gets its first variant in use, as every new name does.
    void roundTrip()
    {
        PastaDeTeste destino(true);
        {
            platform::Database db(QStringLiteral("tst_exportarimportar"));
            db.open(destino.local());
            db.exec(QStringLiteral("DELETE FROM Tracos"));
            db.exec(QStringLiteral("UPDATE Produtos SET CodigoProduto = CodigoProduto + 100"));
        }
        const QString arquivo = m_dir.filePath(QStringLiteral("ida.json"));
        QCOMPARE(semCO2(exporta(m_demo.dados(), arquivo, {"--em-uso"})), esperados(m_demo.local(), true));
        const QJsonArray ida = exporta(m_demo.dados(), arquivo);
        QCOMPARE(ida.size(), 12);
        QCOMPARE(semCO2(ida), esperados(m_demo.local(), false));
        const clitest::Execucao run = executa({"importar", destino.dados(), arquivo});
        QCOMPARE(run.mensagens(), QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.saida, QByteArray("12 traços importados\n"));

        QSet<QString> comTracoEmUso;
        for (const QJsonValue& traco : ida)
            if (traco["Plantao"].toBool())
                comTracoEmUso.insert(traco["NomeTraco"].toString());
        const QJsonArray volta = exporta(destino.dados(), m_dir.filePath(QStringLiteral("volta.json")));
        QCOMPARE(volta.size(), ida.size());
        for (qsizetype i = 0; i < ida.size(); ++i) {
            QJsonObject esperado = ida[i].toObject();
            if (!comTracoEmUso.contains(esperado["NomeTraco"].toString()) && esperado["TracoVariante"].toInt() == 0)
                esperado["Plantao"] = true;
            QCOMPARE(volta[i].toObject(), esperado);
        }
    }

    void existingName_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("plantao");
        QTest::addColumn<QString>("gravado");  // the name and variant written
        QTest::addColumn<QList<int>>("emUso"); // the name's variants in use afterwards

        QTest::newRow("name in another case, in use") << "concreto FCK 20" << true << "Concreto fck 20 - 2" << QList{2};
        QTest::newRow("name the catalogue has") << "Concreto fck 20" << false << "Concreto fck 20 - 2" << QList{0};
        QTest::newRow("new name, not in use") << "Concreto Novo" << false << "Concreto Novo - 0" << QList{0};
    }

    void existingName()
    {
        QFETCH(QString, nome);
        QFETCH(bool, plantao);
        QFETCH(QString, gravado);
        QFETCH(QList<int>, emUso);

        PastaDeTeste destino(true);
        const QJsonArray demo = exporta(m_demo.dados(), m_dir.filePath(QStringLiteral("um.json")));
        QVERIFY(!demo.isEmpty());
        QJsonObject traco = demo.first().toObject();
        traco.insert("NomeTraco", nome);
        traco.insert("Plantao", plantao);
        const clitest::Execucao run = executa({"importar", destino.dados(), gravaLista(m_dir, QJsonArray{traco})});
        QCOMPARE(run.mensagens(), QString());
        QCOMPARE(run.saida, QByteArray("1 traço importado\n"));

        platform::Database db(QStringLiteral("tst_exportarimportar"));
        db.open(destino.local());
        QCOMPARE(db.scalar("SELECT NomeTraco || ' - ' || TracoVariante FROM Tracos ORDER BY Codigo DESC").toString(),
                 gravado);
        QList<int> marcados;
        QSqlQuery q = db.exec("SELECT TracoVariante FROM Tracos WHERE NomeTraco = ? AND Plantao ORDER BY TracoVariante",
                              {gravado.section(" - ", 0, 0)});
        while (q.next())
            marcados.append(q.value(0).toInt());
        QCOMPARE(marcados, emUso);
    }

    void rejected_data()
    {
        QTest::addColumn<QJsonObject>("alteracoes"); // position in the list: fields to set
        QTest::addColumn<QString>("gatilho");        // the mixes the destination refuses
        QTest::addColumn<QStringList>("mensagens");  // what each line of stderr holds

        QTest::newRow("unknown product")
            << QJsonObject{{"4", QJsonObject{{"NomeGraudo2", "Pedra 9"}}}} << QString()
            << QStringList{"Traço 5 (Concreto fck 20): O produto \"Pedra 9\" (NomeGraudo2) não está cadastrado"};
        QTest::newRow("bad fields in two mixes")
            << QJsonObject{{"1", QJsonObject{{"EspeCim", "abc"}}}, {"5", QJsonObject{{"DataCadastro", "2026-01-31"}}}}
            << QString()
            << QStringList{"Traço 2 (Concreto Bombeado fck 30): O campo EspeCim deve ser um número",
                           "Traço 6 (Concreto fck 20): O campo DataCadastro deve ser uma data"};
        QTest::newRow("write refused after ten were written")
            << QJsonObject{} << "NEW.NomeTraco = 'Contrapiso'"
            << QStringList{"Traço 11 (Contrapiso): a gravação foi recusada"};
    }

    // Nothing is written, and every mistake is told with the mix it belongs to.
    void rejected()
    {
        QFETCH(QJsonObject, alteracoes);
        QFETCH(QString, gatilho);
        QFETCH(QStringList, mensagens);

        PastaDeTeste destino(true);
        platform::Database db(QStringLiteral("tst_exportarimportar"));
        db.open(destino.local());
        if (!gatilho.isEmpty())
            teste::recusaInsercoes(db, gatilho, QStringLiteral("recusado"));
        const QString contagem = QStringLiteral("SELECT COUNT(*) FROM Tracos");
        const int antes = db.scalar(contagem).toInt();
        QJsonArray lista = exporta(m_demo.dados(), m_dir.filePath(QStringLiteral("todos.json")));
        QCOMPARE(lista.size(), 12);
        for (auto it = alteracoes.begin(); it != alteracoes.end(); ++it) {
            QJsonObject traco = lista[it.key().toInt()].toObject();
            const QJsonObject campos = it->toObject();
            for (auto campo = campos.begin(); campo != campos.end(); ++campo)
                traco.insert(campo.key(), *campo);
            lista[it.key().toInt()] = traco;
        }
        const clitest::Execucao run = executa({"importar", destino.dados(), gravaLista(m_dir, lista)});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.saida, QByteArray());
        const QStringList linhasDeErro = run.mensagens().trimmed().split('\n');
        QCOMPARE(linhasDeErro.size(), mensagens.size());
        for (qsizetype i = 0; i < mensagens.size(); ++i)
            QVERIFY2(linhasDeErro[i].startsWith(mensagens[i]), qPrintable(linhasDeErro[i]));
        QCOMPARE(db.scalar(contagem).toInt(), antes);
    }

    void exportRefused_data()
    {
        QTest::addColumn<QStringList>("opcoes"); // after the data folder; ARQ is a file in the test's folder
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("two formats") << QStringList{"--csv", "ARQ", "--xlsx", "ARQ"} << "Escolha um só formato.";
        QTest::newRow("no format") << QStringList{"--em-uso"} << "Informe o arquivo a gravar com --csv, --xlsx ou";
        QTest::newRow("folder that does not exist")
            << QStringList{"--xlsx", "ARQ/nao-existe/t.xlsx"} << "Não foi possível gravar o arquivo";
    }

    // Exit 2, the Portuguese message, and no file.
    void exportRefused()
    {
        QFETCH(QStringList, opcoes);
        QFETCH(QString, mensagem);

        QTemporaryDir dir;
        opcoes.replaceInStrings(QStringLiteral("ARQ"), dir.filePath(QStringLiteral("t")));
        const clitest::Execucao run = executa(QStringList{"exportar", m_demo.dados()} + opcoes);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.mensagens().startsWith(mensagem), qPrintable(run.mensagens()));
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QUENVAR_TEST(TestExportarImportar)
#include "tst_exportarimportar.moc"
