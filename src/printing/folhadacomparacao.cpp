#include "folhadacomparacao.h"

#include "comparacao.h"
#include "documento.h"
#include "ficha.h"
#include "folhaavulsa.h"

namespace printing {

namespace {

using namespace FolhaDaComparacao;

using namespace CorDaFolha;
const QColor& kBase = kDestaque; // the first mix's column: the one the others are measured against
const QColor kEmUso(192, 255, 255);

const Fonte kFonteDoTitulo{QStringLiteral("Arial"), 18.0, true, false};
const Fonte kFonteDaEmpresa{QStringLiteral("Arial"), 12.0, true, false};
const Fonte kFonteDaData{QStringLiteral("Arial"), 9.0, false, true};
const Fonte kFonteDaNota{QStringLiteral("Arial"), 8.0, false, true};
const Fonte kFonteDaColuna{QStringLiteral("Arial"), 10.0, true, false};
const Fonte kFonteDaSituacao{QStringLiteral("Arial"), 8.0, false, false};
const Fonte kFonteDaSecao{QStringLiteral("Arial"), 10.0, true, false};
const Fonte kFonteDaLinha{QStringLiteral("Arial"), 9.0, false, false};
const Fonte kFonteDaDiferenca{QStringLiteral("Arial"), 7.0, false, false};
const Fonte kFonteDoRodape{QStringLiteral("Times"), 8.0, false, true};

// Heights of the parts of the page.
constexpr double kAlturaDoLogo = 770.0;
constexpr double kAlturaDoCabecalho = 1500.0;
constexpr double kAlturaDosTitulos = 560.0;
constexpr double kAlturaDaSecao = 340.0;
constexpr double kAlturaDaLinha = 270.0;
constexpr double kAlturaDaDiferenca = 210.0;
constexpr double kFolga = 40.0; // between a cell's edge and its text

class Composicao
{
public:
    Composicao(Documento& folha, const Comparacao& c, const QString& logotipo)
        : m_folha(folha), m_c(c), m_logotipo(logotipo), m_colunas(int(c.tracos().size()))
    {
        m_largura = m_colunas > 0 ? (m_folha.larguraUtil() - kLarguraDoRotulo) / m_colunas : 0.0;
    }

    void compoe()
    {
        cabecalhoDaPagina(true);
        bool listra = false;
        for (const LinhaDaComparacao& linha : m_c.linhas()) {
            const bool secao = linha.tipo == LinhaDaComparacao::Tipo::Secao;
            const double altura = alturaDe(linha);
            if (m_y + altura > m_folha.pageHeight() - kMargemInferior) {
                rodapeDaPagina();
                m_folha.newPage();
                cabecalhoDaPagina(false);
            }
            fundoDaBase(altura);
            if (secao) {
                texto(QRectF(kMargemLateral, m_y + 60, m_folha.larguraUtil(), kAlturaDaSecao - 60), linha.rotulo,
                      kFonteDaSecao, kAzul, Qt::AlignLeft);
                m_y += kAlturaDaSecao;
                m_folha.setPenColor(kAzul);
                m_folha.drawLine(kMargemLateral, m_y, kMargemLateral + m_folha.larguraUtil(), m_y);
                listra = false;
                continue;
            }
            poeLinha(linha, altura, listra);
            listra = !listra;
            m_y += altura;
        }
        rodapeDaPagina();
        m_folha.endDoc();
    }

private:
    double alturaDe(const LinhaDaComparacao& linha) const
    {
        if (linha.tipo == LinhaDaComparacao::Tipo::Secao)
            return kAlturaDaSecao;
        return linha.tipo == LinhaDaComparacao::Tipo::Numero && m_colunas > 1 ? kAlturaDaLinha + kAlturaDaDiferenca
                                                                              : kAlturaDaLinha;
    }

    void fundoDaBase(double altura)
    {
        if (m_colunas > 0)
            m_folha.fillBox(QRectF(xDaColuna(0), m_y, m_largura, altura), kBase);
    }

    double xDaColuna(int i) const { return kMargemLateral + kLarguraDoRotulo + i * m_largura; }

    QRectF celula(int i, double topo, double altura) const
    {
        return QRectF(xDaColuna(i) + kFolga, topo, m_largura - 2 * kFolga, altura);
    }

    void texto(const QRectF& caixa, const QString& conteudo, const Fonte& fonte, const QColor& cor,
               Qt::Alignment alinhamento)
    {
        escreve(m_folha, caixa, conteudo, fonte, cor, alinhamento);
    }

    void cabecalhoDaPagina(bool primeira)
    {
        m_y = kMargemSuperior;
        const double largura = m_folha.larguraUtil();
        if (primeira) {
            if (!m_logotipo.isEmpty())
                m_folha.drawPicture(m_logotipo, QRectF(kMargemLateral, m_y, 2400, kAlturaDoLogo));
            const QRectF centro(kMargemLateral + 2600, m_y, largura - 5200, 520);
            texto(centro, Comparacao::legenda(), kFonteDoTitulo, kAzul, Qt::AlignHCenter);
            texto(centro.translated(0, 540), m_c.empresa(), kFonteDaEmpresa, kPreto, Qt::AlignHCenter);
            texto(QRectF(kMargemLateral + largura - 2600, m_y, 2600, 260), textoDaImpressao(), kFonteDaData, kPreto,
                  Qt::AlignRight);
            texto(QRectF(kMargemLateral, m_y + 1100, largura, 240),
                  QStringLiteral("Quantidades de um metro cúbico de concreto. Sob cada valor dos outros traços, em "
                                 "tipo menor, a diferença para o primeiro, na mesma unidade e em porcentagem."),
                  kFonteDaNota, kCinza, Qt::AlignLeft);
            m_y += kAlturaDoCabecalho;
        }
        // The first column is the one the others are measured against: its ground runs down the table.
        fundoDaBase(kAlturaDosTitulos);
        for (int i = 0; i < m_colunas; ++i) {
            const TracoComparado& t = m_c.tracos()[i];
            texto(celula(i, m_y + 30, 260), t.titulo(), kFonteDaColuna, kPreto, Qt::AlignHCenter);
            QString situacao = t.emUso ? QStringLiteral("Em uso") : QStringLiteral("Inativo");
            if (i == 0 && m_colunas > 1)
                situacao += QStringLiteral(" · referência");
            const QRectF caixa = celula(i, m_y + 300, 220);
            if (t.emUso)
                m_folha.fillBox(caixa, kEmUso);
            texto(caixa, situacao, kFonteDaSituacao, kPreto, Qt::AlignHCenter);
        }
        m_y += kAlturaDosTitulos;
        m_folha.setPenColor(kPreto);
        m_folha.drawLine(kMargemLateral, m_y, kMargemLateral + largura, m_y);
    }

    // The maker's notice and the page number, in the bottom margin.
    void rodapeDaPagina()
    {
        const double topo = m_folha.pageHeight() - kMargemInferior + 200;
        const double largura = m_folha.larguraUtil();
        texto(QRectF(kMargemLateral, topo, largura - 1500, 240), avisoDoRodape(), kFonteDoRodape, kPreto,
              Qt::AlignLeft);
        texto(QRectF(kMargemLateral + largura - 1400, topo, 1400, 240),
              QStringLiteral("Página %1").arg(m_folha.pageCount() + 1), kFonteDaData, kPreto, Qt::AlignRight);
    }

    void poeLinha(const LinhaDaComparacao& linha, double altura, bool listra)
    {
        if (listra) {
            m_folha.fillBox(QRectF(kMargemLateral, m_y, kLarguraDoRotulo, altura), kListra);
            for (int i = 1; i < m_colunas; ++i)
                m_folha.fillBox(QRectF(xDaColuna(i), m_y, m_largura, altura), kListra);
        }
        texto(QRectF(kMargemLateral + kFolga, m_y + 30, kLarguraDoRotulo - 2 * kFolga, kAlturaDaLinha - 30),
              linha.rotulo, kFonteDaLinha, kPreto, Qt::AlignLeft);
        for (int i = 0; i < m_colunas && i < linha.textos.size(); ++i) {
            texto(celula(i, m_y + 30, kAlturaDaLinha - 30), linha.textos[i], kFonteDaLinha, kPreto, Qt::AlignHCenter);
            if (i == 0 || i >= linha.textosDasDiferencas.size() || linha.textosDasDiferencas[i].isEmpty())
                continue;
            texto(celula(i, m_y + kAlturaDaLinha, kAlturaDaDiferenca),
                  linha.textosDasDiferencas[i] + QStringLiteral("  (") + linha.textosDosPercentuais[i] +
                      QLatin1Char(')'),
                  kFonteDaDiferenca, kCinza, Qt::AlignHCenter);
        }
    }

    Documento& m_folha;
    const Comparacao& m_c;
    QString m_logotipo;
    int m_colunas = 0;
    double m_largura = 0.0;
    double m_y = 0.0;
};

} // namespace

void ImprimeComparacao(Documento& folha, const Comparacao& comparacao, const QString& logotipo)
{
    abreFolhaA4(folha, kMargemLateral, kMargemSuperior, kMargemInferior);
    Composicao(folha, comparacao, logotipo).compoe();
}

} // namespace printing
