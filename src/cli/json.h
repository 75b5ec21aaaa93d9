#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// Reading the JSON the subcommands take on stdin and writing the JSON they give on stdout.
namespace cli {

// Everything on stdin.
QByteArray leEntradaPadrao();

// The one JSON object of an input; nothing, with a Portuguese message in erro, when the input is empty, is not
// JSON or is JSON but not an object.
std::optional<QJsonObject> objetoJson(const QByteArray& entrada, QString& erro);

// The one JSON list of a file's content; nothing, with a Portuguese message naming `arquivo` in erro, when the content
// is empty, is not JSON or is JSON but not a list.
std::optional<QJsonArray> listaJson(const QByteArray& conteudo, const QString& arquivo, QString& erro);

// The object as indented UTF-8 JSON (numbers at full precision), ending with a line end.
QByteArray textoJson(const QJsonObject& objeto);

// A value as the messages quote it: a text in quotes, a number, true/false, "uma lista", "um objeto".
QString descreve(const QJsonValue& valor);

// Reads the fields of one input object and collects a Portuguese message for each field that is missing or
// wrong, so that the user learns of every mistake at once.
//
// Numbers arrive as JSON numbers or as texts the way the program's boxes hold them: a decimal comma or point
// ("2,61" or "2.61"), blanks around allowed, nothing else in the text. A blank text is 0, as a blank box is, in
// an optional field; in a required field it counts as missing. A null counts as missing everywhere.
class LeitorCampos
{
public:
    enum class Presenca { Obrigatorio, Opcional };

    // The range a number must fall in.
    enum class Faixa {
        Qualquer,    // any finite number
        NaoNegativo, // 0 or more: quantities, masses, hours, losses
        Positivo,    // more than 0
        Percentual,  // 0 up to, but not including, 100: moisture, water reduction
    };

    explicit LeitorCampos(const QJsonObject& objeto) : m_objeto(objeto) {}

    // Whether the field is there and not null.
    bool tem(const QString& campo) const;

    std::optional<double> numero(const QString& campo, Presenca presenca, Faixa faixa);
    // A whole number from minimo to maximo (codes of the option groups, slumps, variants).
    std::optional<int> inteiro(const QString& campo, Presenca presenca, int minimo, int maximo);
    // A text, kept exactly as given.
    std::optional<QString> texto(const QString& campo, Presenca presenca);
    // A text that, blanks around it dropped, is one of the values offered; the value is given trimmed. A blank
    // text in an optional field is an option not chosen: nothing, and no mistake.
    std::optional<QString> opcao(const QString& campo, Presenca presenca, const QStringList& valores);
    // A check box: true or false, or the numbers 1 and 0.
    std::optional<bool> marca(const QString& campo, Presenca presenca);
    // A list of exactly `tamanho` numbers, each read as numero() reads a field.
    std::optional<QList<double>> numeros(const QString& campo, Presenca presenca, qsizetype tamanho, Faixa faixa);

    // A mistake found by the caller (one that involves several fields).
    void erro(const QString& mensagem) { m_erros.append(mensagem); }

    bool ok() const { return m_erros.isEmpty(); }
    const QStringList& erros() const { return m_erros; }

private:
    // The field's value, or nothing (with a message when required) when it is missing or null.
    std::optional<QJsonValue> valor(const QString& campo, Presenca presenca);
    std::optional<double> numeroDe(const QString& nome, const QJsonValue& valor, Presenca presenca, Faixa faixa);

    QJsonObject m_objeto;
    QStringList m_erros;
};

} // namespace cli
