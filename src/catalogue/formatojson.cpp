#include "formatodeexportacao.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace catalogue {

namespace {

// A JSON array with one object per mix, written a mix at a time.
class FormatoJson : public FormatoDeExportacao
{
public:
    bool comeca(QIODevice& arquivo, const QList<ColunaExportada>& colunas, const QList<PrecoExportado>&) override
    {
        m_colunas = colunas;
        m_primeira = true;
        return arquivo.write("[") == 1;
    }

    bool linha(QIODevice& arquivo, const QVariantList& valores) override
    {
        QJsonObject objeto;
        for (qsizetype i = 0; i < m_colunas.size(); ++i)
            objeto.insert(m_colunas[i].nome, valorJson(m_colunas[i].tipo, valores.value(i)));
        arquivo.write(m_primeira ? "\n" : ",\n");
        m_primeira = false;
        return arquivo.write(QJsonDocument(objeto).toJson(QJsonDocument::Indented).trimmed()) >= 0;
    }

    bool termina(QIODevice& arquivo) override { return arquivo.write("\n]\n") >= 0; }

    bool planilha() const override { return false; }

private:
    static QJsonValue valorJson(ColunaExportada::Tipo tipo, const QVariant& valor)
    {
        if (valor.isNull())
            return QJsonValue::Null;
        if (valor.typeId() == QMetaType::QStringList)
            return QJsonArray::fromStringList(valor.toStringList());
        switch (tipo) {
        case ColunaExportada::Tipo::Logico:
        case ColunaExportada::Tipo::SimNao:
            return valor.toBool();
        case ColunaExportada::Tipo::Inteiro:
            return valor.toLongLong();
        case ColunaExportada::Tipo::Real:
            return valor.toDouble();
        case ColunaExportada::Tipo::Texto:
        case ColunaExportada::Tipo::Data:
            break;
        }
        return valor.toString();
    }

    QList<ColunaExportada> m_colunas;
    bool m_primeira = true;
};

} // namespace

std::unique_ptr<FormatoDeExportacao> FormatoDeExportacao::json()
{
    return std::make_unique<FormatoJson>();
}

} // namespace catalogue
