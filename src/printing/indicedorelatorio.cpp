#include "indicedorelatorio.h"

namespace printing {

QString IndiceDoRelatorio::nome(int n) const
{
    const auto i = std::size_t(n);
    const int fim = i + 1 < m_nomes.size() ? m_nomes[i + 1].inicio : int(m_textos.size());
    return m_textos.mid(m_nomes[i].inicio, fim - m_nomes[i].inicio);
}

LugarNoRelatorio IndiceDoRelatorio::lugar(int n) const
{
    const Nome& nome = m_nomes[std::size_t(n)];
    return LugarNoRelatorio{nome.pagina, nome.y};
}

int IndiceDoRelatorio::variantes(int n) const
{
    const auto i = std::size_t(n);
    const int fim = i + 1 < m_nomes.size() ? m_nomes[i + 1].primeiraVariante : int(m_variantes.size());
    return fim - m_nomes[i].primeiraVariante;
}

QString IndiceDoRelatorio::variante(int n, int v) const
{
    const Variante& variante = m_variantes[std::size_t(m_nomes[std::size_t(n)].primeiraVariante + v)];
    return QString(reinterpret_cast<const QChar*>(variante.digitos), 2);
}

LugarNoRelatorio IndiceDoRelatorio::lugar(int n, int v) const
{
    const Variante& variante = m_variantes[std::size_t(m_nomes[std::size_t(n)].primeiraVariante + v)];
    return LugarNoRelatorio{variante.pagina, variante.y};
}

void IndiceDoRelatorio::limpa()
{
    m_textos = QString();
    m_nomes = {};
    m_variantes = {};
}

void IndiceDoRelatorio::acrescentaNome(const QString& nome, LugarNoRelatorio lugar)
{
    m_nomes.push_back(Nome{int(m_textos.size()), int(m_variantes.size()), lugar.pagina, lugar.y});
    m_textos += nome;
}

void IndiceDoRelatorio::acrescentaVariante(QStringView digitos, LugarNoRelatorio lugar)
{
    Variante variante;
    variante.digitos[0] = digitos.at(0).unicode();
    variante.digitos[1] = digitos.at(1).unicode();
    variante.pagina = lugar.pagina;
    variante.y = lugar.y;
    m_variantes.push_back(variante);
}

} // namespace printing
