#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class QIODevice;

namespace catalogue {

// A column of an exported file, with the kind of value it holds.
struct ColunaExportada
{
    // SimNao is a boolean a reader sees as "Sim" or "Não"; Data a QDate (or the stored text when it is no date).
    enum class Tipo { Logico, SimNao, Inteiro, Real, Texto, Data };
    QString nome;
    Tipo tipo;
    // The spreadsheet's number format ("#,##0.00"); none for a text.
    const char* formatoNumerico = nullptr;
    // Width of the spreadsheet's column, in characters.
    double largura = 12.0;
};

// A product of the price list a spreadsheet carries on a second sheet.
struct PrecoExportado
{
    QString produto;
    QString unidade;
    QVariant preco; // a double, or Null when the product has none
    QVariant data;  // a QDate, the stored text when it is no date, or Null
};

// A file format the catalogue is written in. The exporter hands it the columns and the price list, then each mix's
// values in the columns' order (Null for a field the row leaves empty), then the end of the file. The device is the
// file being written; a failure is told by false and erro().
class FormatoDeExportacao
{
public:
    virtual ~FormatoDeExportacao() = default;
    virtual bool comeca(QIODevice& arquivo, const QList<ColunaExportada>& colunas,
                        const QList<PrecoExportado>& precos) = 0;
    virtual bool linha(QIODevice& arquivo, const QVariantList& valores) = 0;
    virtual bool termina(QIODevice& arquivo) = 0;

    // True for the spreadsheet columns, false for the stored fields of the rows.
    virtual bool planilha() const { return true; }
    QString erro() const { return m_erro; }

    static std::unique_ptr<FormatoDeExportacao> json();
    static std::unique_ptr<FormatoDeExportacao> csv();
    static std::unique_ptr<FormatoDeExportacao> xlsx();

protected:
    QString m_erro;
};

} // namespace catalogue
