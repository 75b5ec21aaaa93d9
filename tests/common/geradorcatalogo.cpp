#include "geradorcatalogo.h"

#include "catalogue/pastadados.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <array>
#include <random>
#include <utility>
#include <vector>

namespace {

// Names with 1, 2, … 8 variants, per hundred names: most mixes were never varied, a few were tried many times.
constexpr std::array<int, 8> VariantesPorCem{45, 25, 12, 8, 5, 3, 1, 1};

// Numbers drawn from the generator's own output, so that a seed gives the same catalogue with any library.
class Sorteio
{
public:
    explicit Sorteio(quint32 semente) : m_gerador(semente) {}
    // 0 to n - 1.
    int ate(int n) { return int(m_gerador() % quint32(n)); }
    int variantes()
    {
        int resto = ate(100);
        for (int i = 0; i < int(VariantesPorCem.size()); ++i) {
            resto -= VariantesPorCem[i];
            if (resto < 0)
                return i + 1;
        }
        return 1;
    }

private:
    std::mt19937 m_gerador;
};

// The `numero`-th name: a kind of work, a use, a strength and the job it was made for, which keeps it unique.
QString nome(int numero, Sorteio& sorteio)
{
    static const QStringList tipos{
        QStringLiteral("Concreto"),          QStringLiteral("concreto"),  QStringLiteral("CONCRETO"),
        QStringLiteral("Concreto usinado"),  QStringLiteral("Argamassa"), QStringLiteral("Graute"),
        QStringLiteral("Estaca hélice"),     QStringLiteral("Laje"),      QStringLiteral("Piso industrial"),
        QStringLiteral("Contrapiso"),        QStringLiteral("Calçada"),   QStringLiteral("Área técnica"),
        QStringLiteral("Muro de contenção"), QStringLiteral("Viga")};
    static const QStringList usos{
        QStringLiteral("bombeado"),      QStringLiteral("Bombeado"),   QStringLiteral("aparente"),
        QStringLiteral("estrutural"),    QStringLiteral("magro"),      QStringLiteral("convencional"),
        QStringLiteral("autoadensável"), QStringLiteral("com fibras"), QString()};
    static const QStringList obras{QStringLiteral("– Obra %1"),         QStringLiteral("- obra %1"),
                                   QStringLiteral("– Ed. São João %1"), QStringLiteral("– Cond. Ipê %1"),
                                   QStringLiteral("(lote %1)"),         QStringLiteral("– Rua d'Ajuda %1")};
    const QString tipo = tipos.at(sorteio.ate(int(tipos.size())));
    const QString uso = usos.at(sorteio.ate(int(usos.size())));
    const QString fck = QStringLiteral("fck %1").arg(10 + 5 * sorteio.ate(9));
    const QString obra = obras.at(sorteio.ate(int(obras.size()))).arg(numero);
    const QString completo = QStringList{tipo, uso, fck, obra}.join(QLatin1Char(' ')).simplified();
    // The catalogue keeps names of up to 50 letters: a long one leaves out its use.
    return completo.size() <= 50 ? completo : QStringList{tipo, fck, obra}.join(QLatin1Char(' '));
}

struct Linha
{
    int nome;
    int variante;
    bool emUso;
    int modelo; // the demo mix whose fields it takes
    int dias;   // registered this many days ago
};

int gera(platform::Database& db, int tracos, quint32 semente)
{
    // The demo's mixes, each with the results the program computed for it, lend their fields to the new rows.
    QList<QSqlRecord> modelos;
    for (QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM Tracos ORDER BY Codigo")); q.next();)
        modelos.append(q.record());
    if (modelos.isEmpty())
        throw platform::DbError(platform::SemRegistroCorrente);
    // The fields the catalogue's rules decide (and the date of registration) are the new row's own.
    const QStringList regras{QStringLiteral("Codigo"),      QStringLiteral("CodigoTraco"),
                             QStringLiteral("NomeTraco"),   QStringLiteral("TracoVariante"),
                             QStringLiteral("Plantao"),     QStringLiteral("Versao"),
                             QStringLiteral("DataCadastro")};
    QStringList proprios;
    for (int i = 0; i < modelos.first().count(); ++i) {
        if (!regras.contains(modelos.first().fieldName(i), Qt::CaseInsensitive))
            proprios.append(modelos.first().fieldName(i));
    }

    Sorteio sorteio(semente);
    QStringList nomes;
    std::vector<Linha> linhas;
    linhas.reserve(std::size_t(tracos));
    while (int(linhas.size()) < tracos) {
        const int variantes = std::min(sorteio.variantes(), tracos - int(linhas.size()));
        const int emUso = sorteio.ate(variantes);
        const int n = int(nomes.size());
        nomes.append(nome(n + 1, sorteio));
        for (int v = 0; v < variantes; ++v)
            linhas.push_back({n, v, v == emUso, sorteio.ate(int(modelos.size())), sorteio.ate(3650)});
    }
    for (std::size_t i = linhas.size(); i > 1; --i)
        std::swap(linhas[i - 1], linhas[std::size_t(sorteio.ate(int(i)))]);

    QStringList colunas = regras;
    colunas.removeAll(QStringLiteral("Versao"));
    colunas += proprios;
    QStringList citadas;
    for (const QString& coluna : colunas)
        citadas.append(platform::Database::citado(coluna));

    platform::Transaction transacao(db);
    // Keys are never given twice: the new rows are numbered after the demo's.
    const qint64 primeiro = db.scalar(QStringLiteral("SELECT MAX(Codigo) FROM Tracos")).toLongLong() + 1;
    db.exec(QStringLiteral("DELETE FROM Tracos"));
    QSqlQuery insere(db.handle());
    if (!insere.prepare(QStringLiteral("INSERT INTO Tracos (%1) VALUES (%2)")
                            .arg(citadas.join(QStringLiteral(", ")),
                                 QStringList(colunas.size(), QStringLiteral("?")).join(QStringLiteral(", ")))))
        throw platform::DbError::doMecanismo(insere.lastError());
    // The first row written of a name gives the name its code; the later ones share it.
    std::vector<qint64> codigoDoNome(std::size_t(nomes.size()), 0);
    const QDate hoje = platform::Clock::hoje();
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const Linha& linha = linhas[i];
        const qint64 codigo = primeiro + qint64(i);
        qint64& codigoTraco = codigoDoNome[std::size_t(linha.nome)];
        if (codigoTraco == 0)
            codigoTraco = codigo;
        const QSqlRecord& modelo = modelos.at(linha.modelo);
        int k = 0;
        insere.bindValue(k++, codigo);
        insere.bindValue(k++, codigoTraco);
        insere.bindValue(k++, nomes.at(linha.nome));
        insere.bindValue(k++, linha.variante);
        insere.bindValue(k++, linha.emUso);
        insere.bindValue(k++, hoje.addDays(-linha.dias).toString(QStringLiteral("dd-MM-yyyy")));
        for (const QString& campo : proprios)
            insere.bindValue(k++, modelo.value(campo));
        if (!insere.exec())
            throw platform::DbError::doMecanismo(insere.lastError());
    }
    // The ready-mixed concretes the company sells are made of the first names made.
    QList<qint64> vendidos;
    for (QSqlQuery q = db.exec(QStringLiteral("SELECT CodigoProduto FROM Produtos WHERE CodigoTraco IS NOT NULL "
                                              "ORDER BY CodigoProduto"));
         q.next();)
        vendidos.append(q.value(0).toLongLong());
    for (int i = 0; i < vendidos.size() && !nomes.isEmpty(); ++i)
        db.exec(QStringLiteral("UPDATE Produtos SET CodigoTraco = ? WHERE CodigoProduto = ?"),
                {codigoDoNome[std::size_t(i % nomes.size())], vendidos.at(i)});
    transacao.commit();
    return int(nomes.size());
}

} // namespace

GeradorCatalogo::Resultado GeradorCatalogo::cria(const QString& pasta, int tracos, quint32 semente)
{
    Resultado r;
    const catalogue::PastaDados::Resultado demo = catalogue::PastaDados::cria(pasta, true);
    if (!demo.ok) {
        r.mensagem = demo.mensagem;
        return r;
    }
    try {
        platform::Database db(QStringLiteral("gerador-catalogo"));
        db.open(pasta + QStringLiteral("Dados/empresa.mdb"));
        r.nomes = gera(db, tracos, semente);
        r.ok = true;
    } catch (const platform::DbError& erro) {
        r.mensagem = erro.descricao() + QLatin1Char(' ') + erro.detalhe();
    }
    return r;
}
