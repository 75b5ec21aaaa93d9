#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace platform {
class Database;
}

namespace catalogue {

// The catalogue written to a file for other programs: every mix, or those in use, in the catalogue's order.
//
// JSON holds the fields of each Tracos row as stored (the products by name), to be imported again; CSV and XLSX hold
// the columns a reader of a spreadsheet wants (names, dates, strength, slump, the products and their quantities per
// cubic metre, proportions, a/c and costs). CSV is the one a Brazilian spreadsheet opens as it is: ';' between fields,
// decimal comma, UTF-8 with a byte-order mark, CRLF line ends; numbers at full precision. XLSX adds number formats,
// real dates and a second sheet with the price list.
//
// The file is written beside its final place and takes that place only once it is whole: a cancelled or failed
// export leaves the old file, or none, untouched.
class Exportacao
{
public:
    enum class Formato { Json, Csv, Xlsx };
    enum class Resultado { Gravado, Cancelado, Falhou };
    // Told the mixes written so far and the total; false cancels the export.
    using Progresso = std::function<bool(int feitos, int total)>;

    Exportacao(platform::Database& banco, Formato formato, bool soEmUso);

    // Writes the file; the database's failures (DbError) reach the caller.
    Resultado grava(const QString& arquivo, const Progresso& progresso = {});

    // The Portuguese message of the failure, after Falhou.
    QString erro() const { return m_erro; }
    // The mixes the file holds, after Gravado.
    int gravados() const { return m_gravados; }

    // The format a file name asks for by its extension (.csv, .xlsx, .json, any case); nothing for another.
    static std::optional<Formato> formatoDoArquivo(const QString& arquivo);
    static QString extensao(Formato formato);

private:
    platform::Database& m_banco;
    Formato m_formato;
    bool m_soEmUso;
    QString m_erro;
    int m_gravados = 0;
};

} // namespace catalogue
