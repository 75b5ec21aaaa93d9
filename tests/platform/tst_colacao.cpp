#include "testregistry.h"

#include "platform/colacao.h"
#include "platform/database.h"
#include "platform/recordset.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using platform::Database;
using platform::RecordSet;

namespace {

// Mix names as a Brazilian reader finds them in a list: accents and capitals do not move a name away from its letter.
const QStringList EmOrdem{
    QStringLiteral("Ábaco"),   QStringLiteral("Água Fria"), QStringLiteral("agua fria 2"), QStringLiteral("Areia"),
    QStringLiteral("Çedilha"), QStringLiteral("cimento"),   QStringLiteral("concreto"),    QStringLiteral("Concreto B"),
    QStringLiteral("Estaca"),  QStringLiteral("Éter"),      QStringLiteral("Ônibus"),      QStringLiteral("ovo"),
    QStringLiteral("Viga"),    QStringLiteral("Zebra"),
};

// The same names in the order they are written: neither sorted, nor reversed, nor in byte order.
const QStringList Embaralhados{
    QStringLiteral("Viga"),        QStringLiteral("concreto"), QStringLiteral("Água Fria"), QStringLiteral("Zebra"),
    QStringLiteral("Éter"),        QStringLiteral("Areia"),    QStringLiteral("ovo"),       QStringLiteral("Çedilha"),
    QStringLiteral("Concreto B"),  QStringLiteral("Ábaco"),    QStringLiteral("cimento"),   QStringLiteral("Ônibus"),
    QStringLiteral("agua fria 2"), QStringLiteral("Estaca"),
};

void criaTracos(Database& db, const QList<std::pair<QString, int>>& linhas)
{
    db.exec(QStringLiteral("CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, NomeTraco TEXT NOT NULL, "
                           "TracoVariante INTEGER NOT NULL DEFAULT 0)"));
    for (const auto& [nome, variante] : linhas)
        db.exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES(?, ?)"), {nome, variante});
}

} // namespace

class TestColacao : public QObject
{
    Q_OBJECT

    QTemporaryDir m_pasta;

private slots:

    void nomesNaOrdemPortuguesa_data()
    {
        QTest::addColumn<QStringList>("inseridos");
        QTest::addColumn<QStringList>("esperados");
        // Every connection registers the order as it opens; the program's own is walked by the mix form's tests.
        QTest::newRow("catálogo") << Embaralhados << EmOrdem;
        // Capitals alone do not separate two names, so their bytes do ("AGUA" before "Agua", whichever was written
        // first); an accent comes after the plain letter, and only when the letters are the same.
        QTest::newRow("empates") << QStringList{QStringLiteral("aguas"), QStringLiteral("água"), QStringLiteral("Agua"),
                                                QStringLiteral("AGUA")}
                                 << QStringList{QStringLiteral("AGUA"), QStringLiteral("Agua"), QStringLiteral("água"),
                                                QStringLiteral("aguas")};
    }
    void nomesNaOrdemPortuguesa()
    {
        QFETCH(QStringList, inseridos);
        QFETCH(QStringList, esperados);
        Database db(QStringLiteral("colacao-nomeada"));
        db.create(m_pasta.filePath(QString::fromUtf8(QTest::currentDataTag()) + QStringLiteral(".mdb")));
        QList<std::pair<QString, int>> linhas;
        for (const QString& nome : std::as_const(inseridos))
            linhas.append({nome, 0});
        criaTracos(db, linhas);

        QSqlQuery q = db.exec(QStringLiteral("SELECT NomeTraco FROM Tracos ORDER BY ") +
                              db.ordemDeTexto(QStringLiteral("NomeTraco")));
        QStringList nomes;
        while (q.next())
            nomes.append(q.value(0).toString());
        QCOMPARE(nomes, esperados);
    }

    // A name is folded alike in the database's queries and in the program's own comparisons.
    void dobraIgualNoBancoENoPrograma()
    {
        Database db(QStringLiteral("colacao-dobra"));
        db.create(m_pasta.filePath(QStringLiteral("dobra.mdb")));
        for (const QString& nome : {QStringLiteral("  Concreto FCK 20\t"), QStringLiteral("\vPiso\f"),
                                    QStringLiteral("ÁGUA Fria "), QStringLiteral("\u00a0Laje Ártica\u2003")})
            QCOMPARE(db.scalar(QStringLiteral("SELECT ") + db.dobraDeNome(QStringLiteral("?")), {nome}).toString(),
                     platform::nomeDobrado(nome));
    }

    // The set reads its keys with the order of its own query, so it walks the catalogue as the list shows it.
    void recordSetAndaNaOrdemPortuguesa()
    {
        Database db(QStringLiteral("colacao-recordset"));
        db.create(m_pasta.filePath(QStringLiteral("recordset.mdb")));
        QList<std::pair<QString, int>> linhas;
        QStringList esperados;
        for (const QString& nome : Embaralhados)
            linhas.append({nome, 0});
        linhas.prepend({QStringLiteral("Água Fria"), 1});
        for (const QString& nome : EmOrdem)
            esperados.append(nome + QStringLiteral("/0"));
        esperados.insert(esperados.indexOf(QStringLiteral("Água Fria/0")) + 1, QStringLiteral("Água Fria/1"));
        criaTracos(db, linhas);

        RecordSet rs(db);
        rs.setQuery(QStringLiteral("SELECT * FROM Tracos ORDER BY %1, TracoVariante;")
                        .arg(db.ordemDeTexto(QStringLiteral("NomeTraco"))));
        QVERIFY(rs.isUpdatable());
        QStringList andados;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            andados.append(rs.field(QStringLiteral("NomeTraco")).toString() + QLatin1Char('/') +
                           rs.field(QStringLiteral("TracoVariante")).toString());
        QCOMPARE(andados, esperados);
    }
};

QUENVAR_TEST(TestColacao)
#include "tst_colacao.moc"
