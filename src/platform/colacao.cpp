#include "colacao.h"

#include "dberror.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

namespace {

// Texts whose sort keys a connection keeps at most. A catalogue has far fewer distinct mix names; past this bound
// the texts without a key are compared directly, which gives the same order, only more slowly.
constexpr std::size_t MaximoDeChaves = 1 << 17;

// Case-insensitive leaves the base letter first and the accent second: "agua" < "água" < "aguas".
QCollator colacaoPortuguesa()
{
    QCollator collator{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int sinal(int ordem)
{
    return ordem < 0 ? -1 : ordem > 0 ? 1 : 0;
}

struct HashDeTexto
{
    using is_transparent = void;
    std::size_t operator()(std::string_view texto) const { return std::hash<std::string_view>{}(texto); }
};

// The ordering of one connection. Opening a catalogue sorts every mix, so a text is compared many times: each
// distinct text gets its sort key made once, and comparing two keys is a plain byte comparison.
class ColacaoPortuguesa
{
public:
    int compara(std::string_view a, std::string_view b)
    {
        if (a == b)
            return 0;
        const QCollatorSortKey* chaveA = chave(a);
        const QCollatorSortKey* chaveB = chaveA ? chave(b) : nullptr;
        const int ordem = chaveB ? chaveA->compare(*chaveB) : collator().compare(texto(a), texto(b));
        return ordem != 0 ? ordem : porBytes(a, b);
    }

    static int porBytes(std::string_view a, std::string_view b) { return sinal(a.compare(b)); }

private:
    static QString texto(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

    // The text's sort key, made on its first comparison; none once the connection keeps as many as it may.
    const QCollatorSortKey* chave(std::string_view utf8)
    {
        if (const auto it = m_chaves.find(utf8); it != m_chaves.end())
            return &it->second;
        if (m_chaves.size() >= MaximoDeChaves)
            return nullptr;
        return &m_chaves.emplace(std::string(utf8), collator().sortKey(texto(utf8))).first->second;
    }

    // Made on the first comparison: the connections that only check or mend a file never sort a text.
    QCollator& collator()
    {
        if (!m_collator)
            m_collator.emplace(colacaoPortuguesa());
        return *m_collator;
    }

    std::optional<QCollator> m_collator;
    std::unordered_map<std::string, QCollatorSortKey, HashDeTexto, std::equal_to<>> m_chaves;
};

int compara(void* contexto, int tamanhoA, const void* a, int tamanhoB, const void* b)
{
    const std::string_view textoA(static_cast<const char*>(a), std::size_t(std::max(tamanhoA, 0)));
    const std::string_view textoB(static_cast<const char*>(b), std::size_t(std::max(tamanhoB, 0)));
    try {
        return static_cast<ColacaoPortuguesa*>(contexto)->compara(textoA, textoB);
    } catch (...) {
        // Nothing may leave a callback of the engine; without memory for a key the bytes still give an order.
        return ColacaoPortuguesa::porBytes(textoA, textoB);
    }
}

void destroi(void* contexto)
{
    delete static_cast<ColacaoPortuguesa*>(contexto);
}

// The name folded as the catalogue compares names: without the blanks around it and without regard to case.
// Names are mostly plain ASCII, folded here without leaving UTF-8; the others go through Qt's case folding.
void dobra(sqlite3_context* contexto, int, sqlite3_value** valores)
{
    const auto* texto = reinterpret_cast<const char*>(sqlite3_value_text(valores[0]));
    if (!texto) {
        sqlite3_result_null(contexto);
        return;
    }
    std::string_view nome(texto, std::size_t(sqlite3_value_bytes(valores[0])));
    // The blanks QString::trimmed() takes away, so that this folds as nomeDobrado() does.
    const auto branco = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!nome.empty() && branco(nome.front()))
        nome.remove_prefix(1);
    while (!nome.empty() && branco(nome.back()))
        nome.remove_suffix(1);
    try {
        if (std::all_of(nome.begin(), nome.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            std::string dobrado(nome);
            for (char& c : dobrado)
                if (c >= 'A' && c <= 'Z')
                    c = char(c - 'A' + 'a');
            sqlite3_result_text(contexto, dobrado.data(), int(dobrado.size()), SQLITE_TRANSIENT);
            return;
        }
        const QByteArray dobrado =
            QString::fromUtf8(nome.data(), qsizetype(nome.size())).trimmed().toCaseFolded().toUtf8();
        sqlite3_result_text(contexto, dobrado.constData(), int(dobrado.size()), SQLITE_TRANSIENT);
    } catch (...) {
        sqlite3_result_error_nomem(contexto);
    }
}

DbError falha(const QString& detalhe)
{
    return DbError(ErroDoMecanismo, descricaoErro(ErroDoMecanismo), detalhe);
}

} // namespace

QString nomeDobrado(const QString& nome)
{
    return nome.trimmed().toCaseFolded();
}

int comparaTextos(const QString& a, const QString& b)
{
    static const QCollator collator = colacaoPortuguesa();
    const int ordem = sinal(collator.compare(a, b));
    return ordem != 0 ? ordem : ColacaoPortuguesa::porBytes(a.toUtf8().toStdString(), b.toUtf8().toStdString());
}

void registraColacao(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        throw falha(QStringLiteral("conexão sem SQLite para a ordem alfabética"));
    sqlite3* const conexao = *static_cast<sqlite3* const*>(handle.constData());
    if (!conexao)
        throw falha(QStringLiteral("conexão SQLite fechada"));
    auto* colacao = new ColacaoPortuguesa;
    const int resultado = sqlite3_create_collation_v2(conexao, NomeDaColacao, SQLITE_UTF8, colacao, &compara, &destroi);
    if (resultado != SQLITE_OK) {
        // On failure the engine does not call the destructor: the context is still ours.
        delete colacao;
        throw falha(
            QStringLiteral("ordem alfabética não registrada: %1").arg(QString::fromUtf8(sqlite3_errstr(resultado))));
    }
    const int funcao = sqlite3_create_function_v2(conexao, NomeDaDobra, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                                  &dobra, nullptr, nullptr, nullptr);
    if (funcao != SQLITE_OK)
        throw falha(
            QStringLiteral("comparação de nomes não registrada: %1").arg(QString::fromUtf8(sqlite3_errstr(funcao))));
}

} // namespace platform
