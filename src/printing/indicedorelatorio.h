#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace printing {

// Where an entry of the contents points: a page (counted from 0) and twips from its top.
struct LugarNoRelatorio
{
    int pagina = 0;
    double y = 0.0;
};

// The table of contents of a catalogue report: the report of all mixes lists each name with its variants under it
// (in two digits, "02"), the report of the mixes in use the names alone. A report of 100 000 mixes has as many
// entries, so the names are kept one after the other in one text and each entry is a few numbers.
class IndiceDoRelatorio
{
public:
    int nomes() const { return int(m_nomes.size()); }
    bool isEmpty() const { return m_nomes.empty(); }
    QString nome(int n) const;
    LugarNoRelatorio lugar(int n) const;
    // The variants listed under a name: none in the report of the mixes in use.
    int variantes(int n) const;
    QString variante(int n, int v) const;
    LugarNoRelatorio lugar(int n, int v) const;

    void limpa();
    void acrescentaNome(const QString& nome, LugarNoRelatorio lugar);
    // A variant under the name added last; `digitos` holds two letters.
    void acrescentaVariante(QStringView digitos, LugarNoRelatorio lugar);

private:
    struct Nome
    {
        int inicio = 0; // where its text begins in m_textos
        int primeiraVariante = 0;
        int pagina = 0;
        double y = 0.0;
    };
    struct Variante
    {
        char16_t digitos[2] = {u'0', u'0'};
        int pagina = 0;
        double y = 0.0;
    };

    QString m_textos;
    std::vector<Nome> m_nomes;
    std::vector<Variante> m_variantes;
};

} // namespace printing
