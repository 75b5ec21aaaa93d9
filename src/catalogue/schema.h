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
    enum class Tipo { Chave, Inteiro, Logico, Real, Texto };
    QString nome;
    Tipo tipo;
    int tamanho = 0;       // longest text the column takes (texts only)
    bool semCaixa = false; // compared and sorted without regard to case
};

struct Tabela
{
    QString nome;
    QList<Campo> campos;

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
    static QList<const Tabela*> tabelas();

    // Version of the schema this program writes; kept in the database file itself.
    static int versaoAtual();
    static int versao(platform::Database& db);
    // Applies every numbered upgrade step above the file's version, each in its own transaction.
    static void atualiza(platform::Database& db);

    static QString criaTabela(const Tabela& tabela);
};

} // namespace catalogue
