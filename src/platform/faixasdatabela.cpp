#include "faixasdatabela.h"

#include <QFile>
#include <QSet>
#include <QtEndian>

#include <limits>
#include <optional>

namespace platform {

namespace {

// Page types of a table's tree in the SQLite file format.
constexpr quint8 InteriorDeTabela = 0x05;
constexpr quint8 FolhaDeTabela = 0x0d;
// SQLite itself gives up on a tree deeper than 20 levels.
constexpr int ProfundidadeMaxima = 20;
constexpr int CabecalhoDoArquivo = 100;
constexpr int CabecalhoDeInterior = 12;

// The file stores its numbers big-endian; the callers have checked that they lie inside the page.
template <typename T> T numero(const QByteArray& dados, int pos)
{
    return qFromBigEndian<T>(dados.constData() + pos);
}

// A variable-length integer: up to eight bytes of seven bits each, then a ninth byte of eight.
std::optional<quint64> inteiroVariavel(const QByteArray& dados, int pos, int limite)
{
    quint64 valor = 0;
    for (int i = 0; i < 9; ++i) {
        if (pos + i >= limite)
            return std::nullopt;
        const quint8 byte = quint8(dados.at(pos + i));
        if (i == 8)
            return (valor << 8) | byte;
        valor = (valor << 7) | (byte & 0x7f);
        if (!(byte & 0x80))
            return valor;
    }
    return std::nullopt;
}

class Arvore
{
public:
    Arvore(QFile& arquivo, int tamanhoDaPagina) : m_arquivo(arquivo), m_tamanho(tamanhoDaPagina)
    {
        if (m_tamanho < 512 || !m_arquivo.isReadable() || !m_arquivo.seek(0))
            return;
        m_paginas = m_arquivo.size() / m_tamanho;
        // Each page may end in bytes reserved for extensions; the cells never lie there.
        const QByteArray cabecalho = m_arquivo.read(CabecalhoDoArquivo);
        if (cabecalho.size() == CabecalhoDoArquivo)
            m_util = m_tamanho - quint8(cabecalho.at(20));
    }

    bool legivel() const { return m_util > 0; }

    void desce(qint64 pagina, qint64 de, qint64 ate, int profundidade, QList<FaixaDeChaves>& faixas)
    {
        const auto semLeitura = [&] { faixas.append({de, ate, false}); };
        if (profundidade > ProfundidadeMaxima || pagina < 1 || pagina > m_paginas || m_visitadas.contains(pagina))
            return semLeitura();
        m_visitadas.insert(pagina);
        if (!m_arquivo.seek((pagina - 1) * m_tamanho))
            return semLeitura();
        const QByteArray dados = m_arquivo.read(m_tamanho);
        if (dados.size() != m_tamanho)
            return semLeitura();
        const int inicio = pagina == 1 ? CabecalhoDoArquivo : 0;
        const quint8 tipo = quint8(dados.at(inicio));
        if (tipo == FolhaDeTabela) {
            faixas.append({de, ate, true});
            return;
        }
        if (tipo != InteriorDeTabela)
            return semLeitura();

        // Each cell of an interior page names a child page and the largest key that child may hold; the last child,
        // in the page header, holds the keys above the last cell's. The whole page is checked before any child is
        // followed, so that a page garbled half-way gives no ranges that overlap.
        const int celulas = int(numero<quint16>(dados, inicio + 3));
        const int ponteiros = inicio + CabecalhoDeInterior;
        if (celulas == 0 || ponteiros + 2 * celulas > m_util)
            return semLeitura();
        QList<std::pair<qint64, qint64>> filhos; // page, largest key
        qint64 anterior = de;
        for (int i = 0; i < celulas; ++i) {
            const int celula = int(numero<quint16>(dados, ponteiros + 2 * i));
            if (celula < ponteiros + 2 * celulas || celula + 4 >= m_util)
                return semLeitura();
            const std::optional<quint64> chave = inteiroVariavel(dados, celula + 4, m_util);
            if (!chave)
                return semLeitura();
            const auto maior = static_cast<qint64>(*chave);
            if (maior < anterior || maior > ate || (i > 0 && maior == filhos.last().second))
                return semLeitura();
            filhos.append({qint64(numero<quint32>(dados, celula)), maior});
            anterior = maior;
        }
        qint64 proxima = de;
        for (const auto& [filho, maior] : filhos) {
            desce(filho, proxima, maior, profundidade + 1, faixas);
            if (maior < ate)
                proxima = maior + 1;
        }
        if (anterior < ate)
            desce(qint64(numero<quint32>(dados, inicio + 8)), anterior + 1, ate, profundidade + 1, faixas);
    }

private:
    QFile& m_arquivo;
    qint64 m_tamanho;
    int m_util = 0;
    qint64 m_paginas = 0;
    QSet<qint64> m_visitadas;
};

} // namespace

QList<FaixaDeChaves> faixasDaTabela(QFile& arquivo, qint64 raiz, int tamanhoDaPagina)
{
    constexpr qint64 Menor = std::numeric_limits<qint64>::min();
    constexpr qint64 Maior = std::numeric_limits<qint64>::max();
    Arvore arvore(arquivo, tamanhoDaPagina);
    if (!arvore.legivel())
        return {{Menor, Maior, false}};
    QList<FaixaDeChaves> faixas;
    arvore.desce(raiz, Menor, Maior, 0, faixas);
    return faixas;
}

} // namespace platform
