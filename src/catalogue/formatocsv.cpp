#include "formatodeexportacao.h"

#include <QDate>
#include <QIODevice>
#include <QLocale>

namespace catalogue {

namespace {

// Text as a Brazilian spreadsheet opens it by a double click: UTF-8 with a byte-order mark (without it the accents
// come out as Latin-1), ';' between fields (the comma is the decimal separator), CRLF line ends. A field holding the
// separator, a quote or a line break goes between quotes, its quotes doubled.
class FormatoCsv : public FormatoDeExportacao
{
public:
    FormatoCsv() { m_numeros.setNumberOptions(QLocale::OmitGroupSeparator); }

    bool comeca(QIODevice& arquivo, const QList<ColunaExportada>& colunas, const QList<PrecoExportado>&) override
    {
        m_colunas = colunas;
        QStringList nomes;
        for (const ColunaExportada& coluna : colunas)
            nomes.append(campo(coluna.nome));
        return arquivo.write("\xEF\xBB\xBF") == 3 && escreve(arquivo, nomes);
    }

    bool linha(QIODevice& arquivo, const QVariantList& valores) override
    {
        QStringList campos;
        for (qsizetype i = 0; i < m_colunas.size(); ++i)
            campos.append(texto(m_colunas[i].tipo, valores.value(i)));
        return escreve(arquivo, campos);
    }

    bool termina(QIODevice&) override { return true; }

private:
    static bool escreve(QIODevice& arquivo, const QStringList& campos)
    {
        return arquivo.write((campos.join(QLatin1Char(';')) + QStringLiteral("\r\n")).toUtf8()) >= 0;
    }

    static QString campo(const QString& texto)
    {
        if (!texto.contains(QLatin1Char(';')) && !texto.contains(QLatin1Char('"')) &&
            !texto.contains(QLatin1Char('\n')) && !texto.contains(QLatin1Char('\r')))
            return texto;
        return QLatin1Char('"') + QString(texto).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    }

    // A text a spreadsheet would take for a formula ("=", "+", "-", "@" first) goes with an apostrophe before it, as
    // a spreadsheet writes text that looks like a formula: a mix's name never runs as one.
    static QString semFormula(const QString& texto)
    {
        static const QString inicios = QStringLiteral("=+-@\t\r");
        return !texto.isEmpty() && inicios.contains(texto.front()) ? QLatin1Char('\'') + texto : texto;
    }

    // Numbers at full precision: the shortest digits that read back as the same double, with a decimal comma and
    // no thousands separator, so that a spreadsheet takes them as numbers.
    QString texto(ColunaExportada::Tipo tipo, const QVariant& valor) const
    {
        if (valor.isNull())
            return QString();
        switch (tipo) {
        case ColunaExportada::Tipo::Logico:
        case ColunaExportada::Tipo::SimNao:
            return valor.toBool() ? QStringLiteral("Sim") : QStringLiteral("Não");
        case ColunaExportada::Tipo::Inteiro:
            return QString::number(valor.toLongLong());
        case ColunaExportada::Tipo::Real:
            return m_numeros.toString(valor.toDouble(), 'f', QLocale::FloatingPointShortest);
        case ColunaExportada::Tipo::Data:
            if (valor.typeId() == QMetaType::QDate)
                return valor.toDate().toString(QStringLiteral("dd/MM/yyyy"));
            break;
        case ColunaExportada::Tipo::Texto:
            return campo(semFormula(valor.toString()));
        }
        return campo(valor.toString());
    }

    QList<ColunaExportada> m_colunas;
    QLocale m_numeros{QLocale::Portuguese, QLocale::Brazil};
};

} // namespace

std::unique_ptr<FormatoDeExportacao> FormatoDeExportacao::csv()
{
    return std::make_unique<FormatoCsv>();
}

} // namespace catalogue
