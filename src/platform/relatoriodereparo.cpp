#include "relatoriodereparo.h"

#include <algorithm>

namespace platform {

namespace {

QString quantos(qint64 n, const char* singular, const char* plural)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? singular : plural));
}

} // namespace

bool RelatorioDeReparo::houvePerda() const
{
    return std::any_of(tabelas.cbegin(), tabelas.cend(), [](const Tabela& t) { return t.houvePerda(); });
}

const RelatorioDeReparo::Tabela* RelatorioDeReparo::tabela(const QString& nome) const
{
    for (const Tabela& t : tabelas)
        if (t.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList RelatorioDeReparo::perdas() const
{
    QStringList linhas;
    for (const Tabela& t : tabelas) {
        if (!t.houvePerda())
            continue;
        QString linha = t.nome + QStringLiteral(": ") + quantos(t.mantidas, "mantido", "mantidos");
        if (t.perdidas == 0)
            linha += QStringLiteral("; não foi possível contar os perdidos");
        else if (t.contagemExata)
            linha += QStringLiteral(", ") + quantos(t.perdidas, "perdido", "perdidos");
        else
            linha += QStringLiteral(", ") + quantos(t.perdidas, "perdido", "perdidos") + QStringLiteral(" ou mais");
        linhas << linha;
    }
    return linhas;
}

} // namespace platform
