#include "bancodeteste.h"
#include "clitestsupport.h"
#include "geradorcatalogo.h"
#include "testregistry.h"

#include "catalogue/catalogo.h"
#include "catalogue/pastadados.h"
#include "platform/database.h"
#include "platform/localdobanco.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using clitest::executa;
using platform::Database;
using platform::LocalDoBanco;

namespace {

QByteArray bytesDe(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray resumo(const QString& arquivo)
{
    return QCryptographicHash::hash(bytesDe(arquivo), QCryptographicHash::Sha256).toHex();
}

// The report of every mix of the folder, written to `pdf` and read back as text.
QByteArray relatorio(const QString& pasta, const QString& pdf)
{
    const clitest::Execucao run = executa(
        {QStringLiteral("relatorio"), pasta, QStringLiteral("--todos"), QStringLiteral("--pdf"), pdf}, {}, 300000);
    if (run.status != 0) {
        qWarning("relatorio: %d %s", run.status, run.erros.constData());
        return {};
    }
    return clitest::textoDoPdf(pdf);
}

clitest::Execucao migrar(const QString& pasta, const QString& conexao)
{
    return executa({QStringLiteral("migrar"), pasta, QStringLiteral("--servidor"), conexao}, {}, 300000);
}

// Tables the server's database holds, counted apart from the program's own connection.
int tabelasNoServidor(const QString& conexao)
{
    const QString nome = QStringLiteral("tabelas-no-servidor");
    int total = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome);
        db.setConnectOptions(conexao);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral(
                    "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()")) &&
                q.next())
                total = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return total;
}

// Whether a value read from the file and the one read from the server are the same: SQLite gives true and false
// as 1 and 0, and a real is compared to the last bit.
bool mesmoValor(const QVariant& arquivo, const QVariant& servidor)
{
    if (arquivo.isNull() || servidor.isNull())
        return arquivo.isNull() && servidor.isNull();
    if (servidor.metaType().id() == QMetaType::Bool)
        return arquivo.toBool() == servidor.toBool();
    if (arquivo.metaType().id() == QMetaType::Double || servidor.metaType().id() == QMetaType::Double)
        return arquivo.toDouble() == servidor.toDouble();
    if (arquivo.metaType().id() == QMetaType::QString || servidor.metaType().id() == QMetaType::QString)
        return arquivo.toString() == servidor.toString();
    return arquivo.toLongLong() == servidor.toLongLong();
}

// Every table of the file has as many rows on the server, and a table with a key has the same rows field by field.
// An empty text: they agree; otherwise what differs first.
QString diferencas(Database& arquivo, Database& servidor)
{
    for (const platform::Driver::ObjetoDoEsquema& objeto : arquivo.esquema()) {
        if (objeto.tipo != QLatin1String("table"))
            continue;
        const QString tabela = Database::citado(objeto.nome);
        const qint64 linhas = arquivo.scalar(QStringLiteral("SELECT count(*) FROM ") + tabela).toLongLong();
        const qint64 noServidor = servidor.scalar(QStringLiteral("SELECT count(*) FROM ") + tabela).toLongLong();
        if (linhas != noServidor)
            return QStringLiteral("%1: %2 linhas no arquivo, %3 no servidor")
                .arg(objeto.nome)
                .arg(linhas)
                .arg(noServidor);
        const QString chave = arquivo.chave(objeto.nome);
        if (chave.isEmpty() || chave == QLatin1String("_rowid_"))
            continue;
        QSqlQuery a = arquivo.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabela, chave));
        const QSqlRecord campos = a.record();
        QStringList colunas;
        for (int i = 0; i < campos.count(); ++i)
            colunas.append(Database::citado(campos.fieldName(i)));
        QSqlQuery b = servidor.exec(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(colunas.join(QLatin1Char(',')), tabela, chave));
        while (a.next()) {
            if (!b.next())
                return objeto.nome + QStringLiteral(": faltam linhas no servidor");
            for (int i = 0; i < campos.count(); ++i) {
                if (!mesmoValor(a.value(i), b.value(i)))
                    return QStringLiteral("%1 %2=%3, %4: %5 no arquivo, %6 no servidor")
                        .arg(objeto.nome, chave, a.value(0).toString(), campos.fieldName(i), a.value(i).toString(),
                             b.value(i).toString());
            }
        }
        if (b.next())
            return objeto.nome + QStringLiteral(": linhas a mais no servidor");
    }
    return {};
}

} // namespace

// A data folder's SQLite file copied to an empty PostgreSQL database by "quenvar-cli migrar": the same rows and
// the same report afterwards, the file untouched; a server already in use or a folder already on a server refused.
class TestMigrar : public QObject
{
    Q_OBJECT

private slots:
    void copiaTudo_data()
    {
        QTest::addColumn<int>("tracos"); // 0 for the demonstration folder
        QTest::newRow("pasta de demonstração") << 0;
        QTest::newRow("catálogo gerado de 10 000 traços") << 10000;
    }
    void copiaTudo()
    {
        if (!teste::noServidor())
            QSKIP("migrar precisa do servidor de teste (variante -postgres)");
        QFETCH(int, tracos);
        QTemporaryDir dir;
        const QString pasta = dir.filePath(QStringLiteral("dados/"));
        const QString mdb = pasta + QStringLiteral("Dados/empresa.mdb");
        if (tracos == 0)
            QVERIFY(catalogue::PastaDados::cria(pasta, true).ok);
        else
            QVERIFY(GeradorCatalogo::cria(pasta, tracos, 5).ok);
        teste::BancoNovo banco(dir.filePath(QStringLiteral("destino")));
        QElapsedTimer relogio;
        relogio.start();

        const QByteArray antes = relatorio(pasta, dir.filePath(QStringLiteral("antes.pdf")));
        QVERIFY(!antes.isEmpty());
        const QByteArray arquivoAntes = resumo(mdb);
        const clitest::Execucao run = migrar(pasta, banco.conexao());
        QVERIFY2(run.status == 0, run.erros.constData());
        QVERIFY(QFile::exists(LocalDoBanco::arquivoDoServidor(pasta)));
        QCOMPARE(LocalDoBanco::daPasta(pasta).local, banco.conexao());
        QCOMPARE(resumo(mdb), arquivoAntes);

        Database arquivo(QStringLiteral("migrar-arquivo"));
        arquivo.open(LocalDoBanco::arquivo(mdb), Database::Acesso::SomenteLeitura);
        Database servidor(QStringLiteral("migrar-servidor"));
        servidor.open(LocalDoBanco::servidor(banco.conexao()));
        const QString diferenca = diferencas(arquivo, servidor);
        QVERIFY2(diferenca.isEmpty(), qPrintable(diferenca));

        const QByteArray depois = relatorio(pasta, dir.filePath(QStringLiteral("depois.pdf")));
        QCOMPARE(depois, antes);

        // The server numbers the next mix after the last one copied.
        const qint64 ultima = arquivo.scalar(QStringLiteral("SELECT max(Codigo) FROM Tracos")).toLongLong();
        catalogue::Catalogo catalogo(servidor);
        QCOMPARE_GT(catalogo.insere({QStringLiteral("Novo"), true, {}}).codigo, ultima);
        arquivo.close();
        servidor.close();
        QCOMPARE(resumo(mdb), arquivoAntes);
        qInfo("%s: %lld ms", QTest::currentDataTag(), relogio.elapsed());
    }

    // A refused migration writes nothing: not servidor.ini, not the file, not the server.
    void recusa_data()
    {
        QTest::addColumn<bool>("servidorOcupado"); // otherwise the folder already has servidor.ini
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("servidor que já tem tabelas") << true << "já tem tabelas; nada foi copiado.";
        QTest::newRow("pasta que já usa um servidor") << false << "já usa um servidor";
    }
    void recusa()
    {
        if (!teste::noServidor())
            QSKIP("migrar precisa do servidor de teste (variante -postgres)");
        QFETCH(bool, servidorOcupado);
        QFETCH(QString, mensagem);
        QTemporaryDir dir;
        teste::BancoNovo banco(dir.filePath(QStringLiteral("destino")));
        const QString pasta = dir.filePath(QStringLiteral("dados/"));
        QVERIFY(GeradorCatalogo::cria(pasta, 30, 7).ok);
        qint64 tracosNoServidor = 0;
        if (servidorOcupado) {
            const QString primeira = dir.filePath(QStringLiteral("primeira/"));
            QVERIFY(catalogue::PastaDados::cria(primeira, true).ok);
            QCOMPARE(migrar(primeira, banco.conexao()).status, 0);
            tracosNoServidor = 12;
        } else {
            QVERIFY(LocalDoBanco::gravaServidor(pasta, banco.conexao()));
        }
        const QString ini = LocalDoBanco::arquivoDoServidor(pasta);
        const QByteArray iniAntes = bytesDe(ini);
        const QByteArray arquivoAntes = resumo(pasta + QStringLiteral("Dados/empresa.mdb"));
        const int tabelas = tabelasNoServidor(banco.conexao());
        QCOMPARE(tabelas > 0, servidorOcupado);

        const clitest::Execucao run = migrar(pasta, banco.conexao());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.mensagens().contains(mensagem), qPrintable(run.mensagens()));
        QVERIFY(run.saida.isEmpty());
        QCOMPARE(QFile::exists(ini), !servidorOcupado);
        QCOMPARE(bytesDe(ini), iniAntes);
        QCOMPARE(resumo(pasta + QStringLiteral("Dados/empresa.mdb")), arquivoAntes);
        QCOMPARE(tabelasNoServidor(banco.conexao()), tabelas);
        if (servidorOcupado) {
            Database servidor(QStringLiteral("migrar-recusado"));
            servidor.open(LocalDoBanco::servidor(banco.conexao()));
            QCOMPARE(servidor.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toLongLong(), tracosNoServidor);
        }
    }
};

QUENVAR_TEST(TestMigrar)
#include "tst_migrar.moc"
