#include "testregistry.h"

#include "catalogue/exportacao.h"
#include "fixtures.h"
#include "platform/database.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using catalogue::Exportacao;

namespace {

// The names a spreadsheet must not split or garble: accents, an apostrophe, quotes and the separator itself.
const QString kComSeparador = QStringLiteral("Contrapiso; \"fino\" d'Água");
const QString kComAcentos = QStringLiteral("Concreto Magro – Fundação");
const QString kComoFormula = QStringLiteral("=HIPERLINK(\"http://x\";\"Laje\")");

QByteArray conteudo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fields of a CSV file as a spreadsheet reads them: a byte-order mark first, ';' between fields, quoted fields
// with their quotes doubled, CRLF between records.
QList<QStringList> leCsv(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    const QString texto = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> linhas;
    QStringList linha;
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (aspas) {
            if (c == u'"' && texto.mid(i + 1, 1) == u'"')
                campo += texto[++i];
            else if (c == u'"')
                aspas = false;
            else
                campo += c;
        } else if (c == u'"') {
            aspas = true;
        } else if (c == u';') {
            linha.append(std::exchange(campo, QString()));
        } else if (c == u'\r' && texto.mid(i + 1, 1) == u'\n') {
            linha.append(std::exchange(campo, QString()));
            linhas.append(std::exchange(linha, QStringList()));
            ++i;
        } else {
            campo += c;
        }
    }
    return linhas;
}

// The workbook as openpyxl reads it: for each sheet its rows (dates as {"data": "dd/mm/aaaa"}), the frozen cell,
// the autofilter's range, whether the header is bold, and the number formats of the first data row.
const char* const kLeitorXlsx = R"(
import datetime, json, sys
from openpyxl import load_workbook
livro = load_workbook(sys.argv[1])
def valor(c):
    v = c.value
    return {"data": v.strftime("%d/%m/%Y")} if isinstance(v, datetime.datetime) else v
saida = {"folhas": livro.sheetnames}
for f in livro.worksheets:
    saida[f.title] = {"linhas": [[valor(c) for c in linha] for linha in f.iter_rows()],
                      "congelado": f.freeze_panes, "filtro": f.auto_filter.ref,
                      "negrito": all(c.font.b for c in f[1]), "formatos": [c.number_format for c in f[2]]}
print(json.dumps(saida))
)";

QJsonObject leXlsx(const QString& interpretador, const QString& arquivo)
{
    QProcess python;
    python.start(interpretador, {QStringLiteral("-c"), QString::fromUtf8(kLeitorXlsx), arquivo});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// A text as the CSV writes it: one a spreadsheet would run as a formula has an apostrophe before it.
QString semFormula(const QString& texto)
{
    return QStringLiteral("=+-@").contains(texto.left(1)) && !texto.isEmpty() ? QLatin1Char('\'') + texto : texto;
}

// A number in the 16 significant digits a workbook keeps (a spreadsheet shows 15).
QString dezesseisDigitos(double valor)
{
    return QString::number(valor, 'g', 16);
}

// A CSV field as the workbook holds the same cell: decimal comma for a number, a date's text, empty for none.
QJsonValue comoNaPlanilha(const QString& campo, const QJsonValue& celula)
{
    if (celula.isDouble())
        return dezesseisDigitos(QString(campo).replace(u',', u'.').toDouble());
    if (celula.isObject())
        return QJsonObject{{"data", campo}};
    return campo.isEmpty() ? QJsonValue() : QJsonValue(campo);
}

} // namespace

class TestExportacao : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    QTemporaryDir m_dir;
    QByteArray m_bytesCsv;
    QList<QStringList> m_csv;
    QJsonObject m_xlsx;
    QJsonArray m_json;
    QString m_python; // one that has openpyxl

private slots:
    void initTestCase()
    {
        platform::Database banco(QStringLiteral("tst_exportacao"));
        banco.open(m_pasta.local());
        const QString renomeia = QStringLiteral("UPDATE Tracos SET NomeTraco = ? WHERE NomeTraco = ?");
        banco.exec(renomeia, {kComSeparador, QStringLiteral("Contrapiso")});
        banco.exec(renomeia, {kComAcentos, QStringLiteral("Concreto Magro")});
        banco.exec(renomeia, {kComoFormula, QStringLiteral("Concreto Bombeado fck 30")});
        // Only one product with a CO2 factor: 40 kg CO2e a 50 kg bag.
        banco.exec(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, 40 FROM "
                                  "Produtos WHERE NomeProduto = 'Cimento 32'"));
        for (const auto& [formato, nome] : {std::pair{Exportacao::Formato::Csv, "t.csv"},
                                            {Exportacao::Formato::Xlsx, "t.xlsx"},
                                            {Exportacao::Formato::Json, "t.json"}})
            QCOMPARE(Exportacao(banco, formato, false).grava(m_dir.filePath(QLatin1String(nome))),
                     Exportacao::Resultado::Gravado);
        m_bytesCsv = conteudo(m_dir.filePath(QStringLiteral("t.csv")));
        m_csv = leCsv(m_bytesCsv);
        m_json = QJsonDocument::fromJson(conteudo(m_dir.filePath(QStringLiteral("t.json")))).array();
        // Debian's openpyxl belongs to Debian's python3, which another python3 on the PATH may hide.
        for (const QString& python : {QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"}),
                                      QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
            if (m_python.isEmpty() && !python.isEmpty() && QProcess::execute(python, {"-c", "import openpyxl"}) == 0)
                m_python = python;
        }
        if (!m_python.isEmpty()) {
            m_xlsx = leXlsx(m_python, m_dir.filePath(QStringLiteral("t.xlsx")));
            QVERIFY(!m_xlsx.isEmpty());
        }
    }

    // The CSV and the workbook hold the same header and, cell by cell, the same values: numbers to the workbook's 16
    // significant digits (the CSV's full precision is checked against the stored rows below), dates as dd/mm/aaaa,
    // the awkward names whole.
    void csvAndWorkbookAgree()
    {
        QCOMPARE(m_json.size(), 12);
        QCOMPARE(m_csv.size(), m_json.size() + 1);
        QCOMPARE(m_bytesCsv.count("\r\n"), m_bytesCsv.count('\n'));
        QVERIFY(m_bytesCsv.contains(QStringLiteral("\"Contrapiso; \"\"fino\"\" d'Água\";").toUtf8()));
        QVERIFY(m_bytesCsv.contains(QStringLiteral("\"'=HIPERLINK(\"\"http://x\"\";\"\"Laje\"\")\";").toUtf8()));
        if (m_python.isEmpty())
            QSKIP("python3 com openpyxl não está instalado");
        const QJsonArray linhas = m_xlsx.value(QStringLiteral("Traços"))["linhas"].toArray();
        QCOMPARE(linhas.size(), m_csv.size());
        for (qsizetype i = 0; i < m_csv.size(); ++i) {
            const QJsonArray celulas = linhas[i].toArray();
            QCOMPARE(m_csv[i].size(), celulas.size());
            for (qsizetype j = 0; j < celulas.size(); ++j)
                QCOMPARE(comoNaPlanilha(m_csv[i][j], celulas[j]),
                         celulas[j].isDouble()   ? QJsonValue(dezesseisDigitos(celulas[j].toDouble()))
                         : celulas[j].isString() ? QJsonValue(semFormula(celulas[j].toString()))
                                                 : celulas[j]);
        }
    }

    void columnHoldsTheStoredField_data()
    {
        QTest::addColumn<QString>("coluna");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<bool>("soEmMassa"); // the stored quantity is in kg only for mixes measured by mass

        // "column|field"; "column|*field" for the quantities stored in kg only by mixes measured by mass; "a/c|*" is
        // water over cement.
        const char* const pares =
            "Traço|NomeTraco;Variante|TracoVariante;Em uso|Plantao;Cadastro|DataCadastro;Cotação|DataCotacao;"
            "Resistência (MPa)|Resistencia;Abatimento (mm)|Fator;Classe do cimento|Classe;Cimento|NomeCimento;"
            "Graúdo 1|NomeGraudo1;Graúdo 2|NomeGraudo2;Aditivo 1|NomeAditivo1;Aditivo 2|NomeAditivo2;"
            "Água (l/m³)|Agua;Mão de obra (hh/m³)|MaodeObra;Proporção em massa|PropMassa;"
            "Proporção em volume|PropVolume;Perdas (%)|Perda;Custo sem perdas (R$/m³)|PrecoCustoSemPerda;"
            "Custo com perdas (R$/m³)|PrecoCustoComPerda;Cimento (kg/m³)|*Cimento;Areia fina (kg/m³)|*AreiaFina;"
            "Areia grossa (kg/m³)|*AreiaGrossa;Graúdo 1 (kg/m³)|*Graudo1;Graúdo 2 (kg/m³)|*Graudo2;"
            "Aditivo 1 (por m³)|*AditivoQde1;a/c|*;CO2|*CO2;SemFatorCO2|SemFatorCO2";
        for (const QString& par : QString::fromUtf8(pares).split(u';')) {
            const QStringList partes = par.split(u'|');
            QTest::newRow(qPrintable(par))
                << partes[0] << QString(partes[1]).remove(u'*') << partes[1].startsWith(u'*');
        }
    }

    // Each spreadsheet column against the stored row the JSON export gives, mix by mix in the catalogue's order.
    void columnHoldsTheStoredField()
    {
        QFETCH(QString, coluna);
        QFETCH(QString, campo);
        QFETCH(bool, soEmMassa);

        const qsizetype j = m_csv.value(0).indexOf(coluna);
        QVERIFY2(j >= 0, qPrintable(coluna));
        int comparados = 0;
        for (qsizetype i = 0; i < m_json.size(); ++i) {
            const QJsonObject traco = m_json[i].toObject();
            if (soEmMassa && traco["Volumetrico"].toInt() != 0)
                continue;
            const QString texto = m_csv[i + 1][j];
            const QJsonValue guardado =
                campo.isEmpty() ? traco["Agua"].toDouble() / traco["Cimento"].toDouble() : traco[campo];
            if (guardado.isDouble())
                QCOMPARE(QString::number(QString(texto).replace(u',', u'.').toDouble(), 'g', 17),
                         QString::number(guardado.toDouble(), 'g', 17)); // exactly, not fuzzily
            else if (guardado.isBool())
                QCOMPARE(texto, guardado.toBool() ? QStringLiteral("Sim") : QStringLiteral("Não"));
            else if (guardado.isArray())
                QCOMPARE(texto, guardado.toVariant().toStringList().join(QStringLiteral(", ")));
            else if (campo == QLatin1String("Fator"))
                QCOMPARE(texto.toInt(), guardado.toString().toInt());
            else if (campo.startsWith(QLatin1String("Data")))
                QCOMPARE(texto, guardado.toString().replace(u'-', u'/'));
            else
                QCOMPARE(texto, semFormula(guardado.toString()));
            // The CO2 of the cement of its mixes alone, partial for the other materials; none for other mixes.
            if (campo == QLatin1String("CO2")) {
                const bool comFator = traco["NomeCimento"].toString() == QLatin1String("Cimento 32");
                QCOMPARE(guardado.isNull(), !comFator);
                QCOMPARE(qRound64(guardado.toDouble() * 1e6),
                         qRound64(comFator * 0.8 * traco["Cimento"].toDouble() * 1e6));
                QCOMPARE(traco["SemFatorCO2"].toArray().isEmpty(), false);
            }
            ++comparados;
        }
        QVERIFY(comparados >= 5);
    }

    // Real numbers and dates in their formats, the header bold and frozen with a filter, the price list beside.
    void workbookLayout()
    {
        if (m_python.isEmpty())
            QSKIP("python3 com openpyxl não está instalado");
        QCOMPARE(m_xlsx["folhas"].toArray(), (QJsonArray{"Traços", "Preços"}));
        const QJsonObject tracos = m_xlsx["Traços"].toObject();
        QCOMPARE(tracos["congelado"].toString(), QStringLiteral("A2"));
        QCOMPARE(tracos["filtro"].toString(), QStringLiteral("A1:AG13"));
        QVERIFY(tracos["negrito"].toBool());
        const QStringList cabecalho = m_csv.value(0);
        const QJsonArray formatos = tracos["formatos"].toArray();
        QCOMPARE(formatos[cabecalho.indexOf("Cadastro")].toString(), QStringLiteral("dd/mm/yyyy"));
        QCOMPARE(formatos[cabecalho.indexOf("Custo com perdas (R$/m³)")].toString(), QStringLiteral("#,##0.00"));
        QVERIFY(tracos["linhas"][1][cabecalho.indexOf("Cadastro")].isObject());

        platform::Database banco(QStringLiteral("tst_exportacao"));
        banco.open(m_pasta.local());
        const QJsonArray precos = m_xlsx.value(QStringLiteral("Preços"))["linhas"].toArray();
        QCOMPARE(precos.first(), (QJsonArray{"Produto", "Unidade", "Preço (R$)", "Data do preço"}));
        QCOMPARE(precos.size(), banco.scalar(QStringLiteral("SELECT COUNT(*) FROM Produtos")).toInt() + 1);
        const QJsonArray cimento = precos[1].toArray();
        QVERIFY(cimento[2].isDouble());
        QVERIFY(cimento[3].isObject());
    }

    void nothingHalfWritten_data()
    {
        QTest::addColumn<int>("formato");
        QTest::addColumn<int>("cancelaEm");    // the progress report that answers "cancel"; -1 never
        QTest::addColumn<bool>("pastaExiste"); // no folder: the export fails

        for (const auto& [nome, formato] : {std::pair{"csv", Exportacao::Formato::Csv},
                                            {"xlsx", Exportacao::Formato::Xlsx},
                                            {"json", Exportacao::Formato::Json}}) {
            QTest::addRow("%s cancelled before the first mix", nome) << int(formato) << 0 << true;
            QTest::addRow("%s cancelled after the mixes", nome) << int(formato) << 1 << true;
            QTest::addRow("%s into a folder that does not exist", nome) << int(formato) << -1 << false;
        }
    }

    // A cancelled or failed export leaves the file that was there as it was, and no temporary file beside it.
    void nothingHalfWritten()
    {
        QFETCH(int, formato);
        QFETCH(int, cancelaEm);
        QFETCH(bool, pastaExiste);
        const auto resultado = pastaExiste ? Exportacao::Resultado::Cancelado : Exportacao::Resultado::Falhou;

        QTemporaryDir dir;
        const QString arquivo = pastaExiste ? dir.filePath(QStringLiteral("velho.dat"))
                                            : dir.filePath(QStringLiteral("nao-existe/velho.dat"));
        if (pastaExiste) {
            QFile velho(arquivo);
            QVERIFY(velho.open(QIODevice::WriteOnly) && velho.write("velho") == 5);
        }
        QList<int> relatos;
        const auto progresso = [&](int feitos, int total) {
            relatos.append(feitos);
            return total == 12 && relatos.size() - 1 != cancelaEm;
        };
        platform::Database banco(QStringLiteral("tst_exportacao"));
        banco.open(m_pasta.local());
        Exportacao exportacao(banco, Exportacao::Formato(formato), false);
        QCOMPARE(exportacao.grava(arquivo, progresso), resultado);
        QCOMPARE(relatos.last(), cancelaEm == 1 ? 12 : 0);
        QCOMPARE(conteudo(arquivo), QByteArray(pastaExiste ? "velho" : ""));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), pastaExiste ? 1 : 0);
        QCOMPARE(exportacao.erro().isEmpty(), pastaExiste);
    }
};

QUENVAR_TEST(TestExportacao)
#include "tst_exportacao.moc"
