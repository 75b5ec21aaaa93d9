#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace calc {
class ProductTable;
}

namespace platform {
class Database;
}

// Two to four stored mixes side by side: for each, what its sheet shows (the products, the quantities of a cubic
// metre, the waters, the water/cement ratio, the strength, the slump, the proportions and the costs of a cubic
// metre), written as the sheet writes it, and for every mix after the first the difference to the first, in its
// unit and in per cent.
//
// A material a mix does not use (no fine sand, no second coarse aggregate, no admixture) is a blank, not a 0. Its
// difference is taken against 0 when only one of the two uses it: a mix that adds a material shows the whole
// quantity as the difference (with no per cent: there is nothing to take it of), a mix that leaves one out shows
// minus the first's quantity, -100 %. When neither uses it there is no difference. A figure that is not a material
// (a price never quoted, the ratio of a mix without cement) has a difference only when both mixes have it.
namespace printing {

// One mix of the comparison.
struct TracoComparado
{
    qint64 codigo = 0;
    QString nome;
    int variante = 0;
    bool emUso = false;

    // The name and the two-digit variant, as the sheet's title.
    QString titulo() const;
};

// One row: a caption and one cell per mix.
struct LinhaDaComparacao
{
    enum class Tipo {
        Secao,  // a heading over the rows that follow
        Texto,  // names and proportions: no difference
        Numero, // a figure with its difference to the first mix
    };

    Tipo tipo = Tipo::Texto;
    // A name for programs: the Tracos field the figure comes from ("Cimento", "NomeGraudo1", "PropMassa"), or "wc"
    // for the water/cement ratio and "Abatimento" for the slump.
    QString chave;
    QString rotulo; // the caption
    // What each mix shows, as the sheet writes it; empty when the mix does not use the material or has no figure.
    QStringList textos;
    // The figures themselves (Numero rows), at full precision; nothing where the text is empty.
    QList<std::optional<double>> valores;
    // Mix i against the first, for i from 1 (the first's entries stay empty): the difference in the row's unit, and
    // in per cent of the first's figure.
    QList<std::optional<double>> diferencas;
    QList<std::optional<double>> percentuais;
    // The same as the sheet would write them, "+12,5 kg" and "+3,4%"; the per cent of a first figure of 0 is "—".
    QStringList textosDasDiferencas;
    QStringList textosDosPercentuais;
};

class Comparacao
{
public:
    static constexpr int kMinimo = 2;
    static constexpr int kMaximo = 4;

    // What the user is told of a count of mixes outside kMinimo..kMaximo; empty when the count will do.
    static QString avisoDeQuantidade(int quantidade);

    // Reads the mixes with these keys, in this order, and the company's name. Throws platform::DbError when they
    // cannot be read, RegistroExcluido when one is no longer stored.
    static Comparacao le(platform::Database& banco, const QList<qint64>& codigos);
    // The comparison of rows already read (the fields of Tracos, Codigo among them), their products looked up in
    // `produtos` (may be null when the rows name them).
    static Comparacao deLinhas(const QList<QVariantMap>& linhas, const calc::ProductTable* produtos);

    const QList<TracoComparado>& tracos() const { return m_tracos; }
    const QList<LinhaDaComparacao>& linhas() const { return m_linhas; }
    // The row with this key; null when there is none.
    const LinhaDaComparacao* linha(const QString& chave) const;

    QString empresa() const { return m_empresa; }
    void defineEmpresa(const QString& empresa) { m_empresa = empresa; }
    // "Comparação de Traços": the page's title and the viewer's caption.
    static QString legenda();

private:
    QList<TracoComparado> m_tracos;
    QList<LinhaDaComparacao> m_linhas;
    QString m_empresa;
};

} // namespace printing
