#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {
class Database;
}

namespace catalogue {

// The program's tables, declared once: the upgrade steps create them from this declaration and the forms read the
// text lengths from it.
struct Campo
{
    // Versao counts the writes to its row, so that a workstation notices a row changed by another.
    // Codigo is a key the program gives itself (another table's code), not a number the engine counts.
    enum class Tipo { Chave, Codigo, Inteiro, Logico, Real, Texto, Versao };
    QString nome;
    Tipo tipo;
    int tamanho = 0;       // longest text the column takes (texts only)
    bool semCaixa = false; // compared and sorted without regard to case
    int desde = 1;         // the upgrade step that adds the column
};

struct Tabela
{
    QString nome;
    QList<Campo> campos;
    int desde = 1; // the upgrade step that creates the table

    const Campo* campo(const QString& nome) const;
    QStringList nomes() const;
};

class Schema
{
public:
    static const Tabela& tracos();
    static const Tabela& produtos();
    static const Tabela& unidades();
    static const Tabela& dadosEmpresa();
    static const Tabela& massas();
    static const Tabela& consistencias();
    // The company's CO2 factor of each product that has one, by the product's code.
    static const Tabela& fatoresEmissao();
    static QList<const Tabela*> tabelas();

    // Version of the schema this program writes; kept in the database, where its driver keeps it.
    static int versaoAtual();
    static int versao(platform::Database& db);
    // Applies every numbered upgrade step above the database's version, each in its own transaction; with `ate`,
    // only up to that version.
    static void atualiza(platform::Database& db, int ate = -1);

    // The table as the upgrade step `versao` leaves it: the columns added by later steps are left out.
    static QString criaTabela(const platform::Database& db, const Tabela& tabela, int versao = versaoAtual());
};

} // namespace catalogue
