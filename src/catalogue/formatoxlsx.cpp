#include "formatodeexportacao.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryFile>

#include <xlsxwriter.h>

namespace catalogue {

namespace {

// An Excel workbook: the mixes on the sheet "Traços", numbers as numbers in their formats and dates as dates, the
// header row bold and frozen, an autofilter over the rows; the price list the costs came from on the sheet "Preços".
// The library writes a file of its own by name, so the workbook is made in a temporary file and copied into the
// file being written once it is closed.
class FormatoXlsx : public FormatoDeExportacao
{
public:
    ~FormatoXlsx() override
    {
        if (m_livro)
            workbook_close(m_livro);
    }

    bool comeca(QIODevice&, const QList<ColunaExportada>& colunas, const QList<PrecoExportado>& precos) override
    {
        m_colunas = colunas;
        m_temporario.setFileTemplate(QDir::temp().filePath(QStringLiteral("quenvar-XXXXXX.xlsx")));
        if (!m_temporario.open()) {
            m_erro = m_temporario.errorString();
            return false;
        }
        m_temporario.close();
        const QByteArray caminho = QFile::encodeName(m_temporario.fileName());
        QByteArray pastaTemporaria = QFile::encodeName(QDir::tempPath());
        // Rows go to disc as they are written: ten thousand mixes take no more memory than one.
        lxw_workbook_options opcoes{LXW_TRUE, pastaTemporaria.data(), LXW_FALSE};
        m_livro = workbook_new_opt(caminho.constData(), &opcoes);
        if (!m_livro) {
            m_erro = QStringLiteral("a planilha não pôde ser criada");
            return false;
        }
        m_negrito = workbook_add_format(m_livro);
        format_set_bold(m_negrito);
        m_formatoData = formatoNumerico("dd/mm/yyyy");

        m_tracos = workbook_add_worksheet(m_livro, "Traços");
        lxw_worksheet* folhaDePrecos = workbook_add_worksheet(m_livro, "Preços");
        for (const ColunaExportada& coluna : colunas)
            m_formatos.append(coluna.tipo == ColunaExportada::Tipo::Data ? m_formatoData
                                                                         : formatoNumerico(coluna.formatoNumerico));
        cabecalho(m_tracos, colunas);

        const QList<ColunaExportada> colunasDePrecos{
            {QStringLiteral("Produto"), ColunaExportada::Tipo::Texto, nullptr, 30},
            {QStringLiteral("Unidade"), ColunaExportada::Tipo::Texto, nullptr, 12},
            {QStringLiteral("Preço (R$)"), ColunaExportada::Tipo::Real, "#,##0.00", 12},
            {QStringLiteral("Data do preço"), ColunaExportada::Tipo::Data, nullptr, 13}};
        cabecalho(folhaDePrecos, colunasDePrecos);
        const QList<lxw_format*> formatosDePrecos{nullptr, nullptr, formatoNumerico("#,##0.00"), m_formatoData};
        lxw_row_t linha = 0;
        for (const PrecoExportado& preco : precos) {
            ++linha;
            const QVariantList valores{preco.produto, preco.unidade, preco.preco, preco.data};
            for (qsizetype i = 0; i < valores.size(); ++i)
                celula(folhaDePrecos, linha, lxw_col_t(i), colunasDePrecos[i].tipo, valores[i], formatosDePrecos[i]);
        }
        worksheet_autofilter(folhaDePrecos, 0, 0, linha, lxw_col_t(colunasDePrecos.size() - 1));
        return true;
    }

    bool linha(QIODevice&, const QVariantList& valores) override
    {
        ++m_linha;
        for (qsizetype i = 0; i < m_colunas.size(); ++i) {
            const lxw_error falha =
                celula(m_tracos, m_linha, lxw_col_t(i), m_colunas[i].tipo, valores.value(i), m_formatos[i]);
            if (falha != LXW_NO_ERROR) {
                m_erro = QString::fromUtf8(lxw_strerror(falha));
                return false;
            }
        }
        return true;
    }

    bool termina(QIODevice& arquivo) override
    {
        worksheet_autofilter(m_tracos, 0, 0, m_linha, lxw_col_t(m_colunas.size() - 1));
        const lxw_error falha = workbook_close(m_livro);
        m_livro = nullptr;
        if (falha != LXW_NO_ERROR) {
            m_erro = QString::fromUtf8(lxw_strerror(falha));
            return false;
        }
        QFile feito(m_temporario.fileName());
        if (!feito.open(QIODevice::ReadOnly)) {
            m_erro = feito.errorString();
            return false;
        }
        while (!feito.atEnd()) {
            if (arquivo.write(feito.read(1 << 20)) < 0) {
                m_erro = arquivo.errorString();
                return false;
            }
        }
        return true;
    }

private:
    lxw_format* formatoNumerico(const char* formato)
    {
        if (!formato)
            return nullptr;
        lxw_format* f = workbook_add_format(m_livro);
        format_set_num_format(f, formato);
        return f;
    }

    // The column names in bold on the first row, which stays in view as the rows scroll; the columns' widths.
    void cabecalho(lxw_worksheet* folha, const QList<ColunaExportada>& colunas)
    {
        for (qsizetype i = 0; i < colunas.size(); ++i) {
            worksheet_write_string(folha, 0, lxw_col_t(i), colunas[i].nome.toUtf8().constData(), m_negrito);
            worksheet_set_column(folha, lxw_col_t(i), lxw_col_t(i), colunas[i].largura, nullptr);
        }
        worksheet_freeze_panes(folha, 1, 0);
    }

    static lxw_error celula(lxw_worksheet* folha, lxw_row_t linha, lxw_col_t coluna, ColunaExportada::Tipo tipo,
                            const QVariant& valor, lxw_format* formato)
    {
        if (valor.isNull())
            return LXW_NO_ERROR;
        switch (tipo) {
        case ColunaExportada::Tipo::Logico:
            return worksheet_write_boolean(folha, linha, coluna, valor.toBool(), formato);
        case ColunaExportada::Tipo::SimNao:
            return worksheet_write_string(folha, linha, coluna, valor.toBool() ? "Sim" : "Não", formato);
        case ColunaExportada::Tipo::Inteiro:
        case ColunaExportada::Tipo::Real:
            return worksheet_write_number(folha, linha, coluna, valor.toDouble(), formato);
        case ColunaExportada::Tipo::Data:
            if (valor.typeId() == QMetaType::QDate) {
                const QDate data = valor.toDate();
                lxw_datetime dia{data.year(), data.month(), data.day(), 0, 0, 0.0};
                return worksheet_write_datetime(folha, linha, coluna, &dia, formato);
            }
            break;
        case ColunaExportada::Tipo::Texto:
            break;
        }
        return worksheet_write_string(folha, linha, coluna, valor.toString().toUtf8().constData(), nullptr);
    }

    QList<ColunaExportada> m_colunas;
    QTemporaryFile m_temporario;
    lxw_workbook* m_livro = nullptr;
    lxw_worksheet* m_tracos = nullptr;
    lxw_format* m_negrito = nullptr;
    lxw_format* m_formatoData = nullptr;
    QList<lxw_format*> m_formatos;
    lxw_row_t m_linha = 0;
};

} // namespace

std::unique_ptr<FormatoDeExportacao> FormatoDeExportacao::xlsx()
{
    return std::make_unique<FormatoXlsx>();
}

} // namespace catalogue
