#include "json.h"

#include "calc/numericentry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>

#include <cmath>
#include <cstdio>

namespace cli {

namespace {

QString motivoDoErro(QJsonParseError::ParseError erro)
{
    switch (erro) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("objeto sem a chave de fechamento");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("falta o ':' depois de um nome");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("lista sem o colchete de fechamento");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("falta a ',' entre dois valores");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("número mal escrito");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("sequência de escape inválida num texto");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("texto que não está em UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("texto sem as aspas de fechamento");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("objetos e listas encaixados fundo demais");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("entrada grande demais");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("há mais conteúdo depois do fim do objeto");
    default:
        return QStringLiteral("valor inválido");
    }
}

QString textoDoNumero(double valor)
{
    return QString::number(valor, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QByteArray leEntradaPadrao()
{
    QFile entrada;
    if (!entrada.open(stdin, QIODevice::ReadOnly))
        return {};
    return entrada.readAll();
}

std::optional<QJsonObject> objetoJson(const QByteArray& entrada, QString& erro)
{
    if (entrada.trimmed().isEmpty()) {
        erro = QStringLiteral("A entrada está vazia: envie um objeto JSON na entrada padrão.");
        return std::nullopt;
    }
    QJsonParseError analise;
    const QJsonDocument documento = QJsonDocument::fromJson(entrada, &analise);
    if (analise.error != QJsonParseError::NoError) {
        erro = QStringLiteral("A entrada não é um JSON válido: %1 (posição %2).")
                   .arg(motivoDoErro(analise.error))
                   .arg(analise.offset);
        return std::nullopt;
    }
    if (!documento.isObject()) {
        erro = QStringLiteral("A entrada deve ser um objeto JSON ({ … }), não uma lista.");
        return std::nullopt;
    }
    return documento.object();
}

std::optional<QJsonArray> listaJson(const QByteArray& conteudo, const QString& arquivo, QString& erro)
{
    if (conteudo.trimmed().isEmpty()) {
        erro = QStringLiteral("O arquivo %1 está vazio: ele deve conter uma lista JSON de traços.").arg(arquivo);
        return std::nullopt;
    }
    QJsonParseError analise;
    const QJsonDocument documento = QJsonDocument::fromJson(conteudo, &analise);
    if (analise.error != QJsonParseError::NoError) {
        erro = QStringLiteral("O arquivo %1 não é um JSON válido: %2 (posição %3).")
                   .arg(arquivo, motivoDoErro(analise.error))
                   .arg(analise.offset);
        return std::nullopt;
    }
    if (!documento.isArray()) {
        erro = QStringLiteral("O arquivo %1 deve conter uma lista JSON de traços ([ … ]).").arg(arquivo);
        return std::nullopt;
    }
    return documento.array();
}

QByteArray textoJson(const QJsonObject& objeto)
{
    return QJsonDocument(objeto).toJson(QJsonDocument::Indented);
}

QString descreve(const QJsonValue& valor)
{
    switch (valor.type()) {
    case QJsonValue::String:
        return QLatin1Char('"') + valor.toString() + QLatin1Char('"');
    case QJsonValue::Double:
        return textoDoNumero(valor.toDouble());
    case QJsonValue::Bool:
        return valor.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array:
        return QStringLiteral("uma lista");
    case QJsonValue::Object:
        return QStringLiteral("um objeto");
    default:
        return QStringLiteral("null");
    }
}

bool LeitorCampos::tem(const QString& campo) const
{
    const QJsonValue v = m_objeto.value(campo);
    return !v.isUndefined() && !v.isNull();
}

std::optional<QJsonValue> LeitorCampos::valor(const QString& campo, Presenca presenca)
{
    if (!tem(campo)) {
        if (presenca == Presenca::Obrigatorio)
            m_erros.append(QStringLiteral("Falta o campo obrigatório %1.").arg(campo));
        return std::nullopt;
    }
    return m_objeto.value(campo);
}

std::optional<double> LeitorCampos::numeroDe(const QString& nome, const QJsonValue& v, Presenca presenca, Faixa faixa)
{
    double numero = 0.0;
    if (v.isDouble()) {
        numero = v.toDouble();
    } else if (v.isString() && v.toString().trimmed().isEmpty()) {
        if (presenca == Presenca::Obrigatorio) {
            m_erros.append(QStringLiteral("O campo obrigatório %1 está em branco.").arg(nome));
            return std::nullopt;
        }
    } else if (v.isString()) {
        const std::optional<double> lido = calc::strictNumber(v.toString());
        if (!lido || !std::isfinite(*lido)) {
            m_erros.append(QStringLiteral("O campo %1 deve ser um número; veio %2.").arg(nome, descreve(v)));
            return std::nullopt;
        }
        numero = *lido;
    } else {
        m_erros.append(QStringLiteral("O campo %1 deve ser um número; veio %2.").arg(nome, descreve(v)));
        return std::nullopt;
    }

    switch (faixa) {
    case Faixa::Qualquer:
        break;
    case Faixa::NaoNegativo:
        if (numero < 0.0) {
            m_erros.append(QStringLiteral("O campo %1 não pode ser negativo; veio %2.").arg(nome, descreve(v)));
            return std::nullopt;
        }
        break;
    case Faixa::Positivo:
        if (numero <= 0.0) {
            m_erros.append(QStringLiteral("O campo %1 deve ser maior que zero; veio %2.").arg(nome, descreve(v)));
            return std::nullopt;
        }
        break;
    case Faixa::Percentual:
        if (numero < 0.0 || numero >= 100.0) {
            m_erros.append(
                QStringLiteral("O campo %1 é uma porcentagem de 0 a menos de 100; veio %2.").arg(nome, descreve(v)));
            return std::nullopt;
        }
        break;
    }
    return numero;
}

std::optional<double> LeitorCampos::numero(const QString& campo, Presenca presenca, Faixa faixa)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    return numeroDe(campo, *v, presenca, faixa);
}

std::optional<int> LeitorCampos::inteiro(const QString& campo, Presenca presenca, int minimo, int maximo)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    const qsizetype antes = m_erros.size();
    const std::optional<double> numero = numeroDe(campo, *v, presenca, Faixa::Qualquer);
    if (!numero) {
        if (m_erros.size() > antes)
            return std::nullopt;
        return 0; // a blank optional box
    }
    if (std::floor(*numero) != *numero || *numero < minimo || *numero > maximo) {
        m_erros.append(QStringLiteral("O campo %1 deve ser um número inteiro de %2 a %3; veio %4.")
                           .arg(campo)
                           .arg(minimo)
                           .arg(maximo)
                           .arg(descreve(*v)));
        return std::nullopt;
    }
    return int(*numero);
}

std::optional<QString> LeitorCampos::texto(const QString& campo, Presenca presenca)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    if (!v->isString()) {
        m_erros.append(QStringLiteral("O campo %1 deve ser um texto; veio %2.").arg(campo, descreve(*v)));
        return std::nullopt;
    }
    return v->toString();
}

std::optional<QString> LeitorCampos::opcao(const QString& campo, Presenca presenca, const QStringList& valores)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    if (presenca == Presenca::Opcional && v->isString() && v->toString().trimmed().isEmpty())
        return std::nullopt;
    // A class such as 32 may come as a number.
    const QString texto = v->isDouble() ? textoDoNumero(v->toDouble()) : v->toString().trimmed();
    if ((!v->isString() && !v->isDouble()) || !valores.contains(texto)) {
        m_erros.append(QStringLiteral("O campo %1 deve ser um destes: %2; veio %3.")
                           .arg(campo, valores.join(QStringLiteral(", ")), descreve(*v)));
        return std::nullopt;
    }
    return texto;
}

std::optional<bool> LeitorCampos::marca(const QString& campo, Presenca presenca)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    if (v->isBool())
        return v->toBool();
    if (v->isDouble() && (v->toDouble() == 0.0 || v->toDouble() == 1.0))
        return v->toDouble() == 1.0;
    m_erros.append(QStringLiteral("O campo %1 deve ser true ou false; veio %2.").arg(campo, descreve(*v)));
    return std::nullopt;
}

std::optional<QList<double>> LeitorCampos::numeros(const QString& campo, Presenca presenca, qsizetype tamanho,
                                                   Faixa faixa)
{
    const std::optional<QJsonValue> v = valor(campo, presenca);
    if (!v)
        return std::nullopt;
    const QJsonArray lista = v->toArray();
    if (!v->isArray() || lista.size() != tamanho) {
        m_erros.append(
            QStringLiteral("O campo %1 deve ser uma lista de %2 números; veio %3.")
                .arg(campo)
                .arg(tamanho)
                .arg(v->isArray() ? QStringLiteral("uma lista de %1 elementos").arg(lista.size()) : descreve(*v)));
        return std::nullopt;
    }
    QList<double> numeros;
    bool todos = true;
    for (qsizetype i = 0; i < lista.size(); ++i) {
        const QString nome = QStringLiteral("%1[%2]").arg(campo).arg(i);
        // Every element of the list is required.
        std::optional<double> numero;
        if (lista[i].isNull())
            m_erros.append(QStringLiteral("Falta o valor de %1.").arg(nome));
        else
            numero = numeroDe(nome, lista[i], Presenca::Obrigatorio, faixa);
        todos = todos && numero.has_value();
        numeros.append(numero.value_or(0.0));
    }
    if (!todos)
        return std::nullopt;
    return numeros;
}

} // namespace cli
