#include "relatoriocustos.h"

#include "documento.h"
#include "ficha.h"

#include "calc/formats.h"
#include "catalogue/recusteio.h"

#include <QLocale>
#include <QStringList>

namespace printing {

namespace {

const QLocale kBrasil(QLocale::Portuguese, QLocale::Brazil);
const QColor kCinzaClaro(230, 230, 230);
const QString kTraco = QStringLiteral("—");

// A cell of the page model's tables: its own separators would split it.
QString celula(QString texto)
{
    return texto.replace(QLatin1Char('|'), QLatin1Char('/')).replace(QLatin1Char(';'), QLatin1Char(','));
}

QString linha(const QStringList& celulas)
{
    QStringList limpas;
    for (const QString& c : celulas)
        limpas << celula(c);
    return limpas.join(QLatin1Char('|')) + QLatin1Char(';');
}

QString dataBrasileira(const QDate& data)
{
    return data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : kTraco;
}

void secao(Documento& d, const QString& titulo)
{
    d.setCurrentY(d.currentY() + 240.0);
    d.setFonte(Fonte{QStringLiteral("Arial"), 12.0, true, false});
    d.paragraph(titulo);
    d.setFonte(Fonte{QStringLiteral("Arial"), 9.0, false, false});
}

} // namespace

QString legendaDosCustos()
{
    return QStringLiteral("Atualização de Custos");
}

QString textoEmReais(double valor)
{
    return QStringLiteral("R$ ") + kBrasil.toString(valor, 'f', 2);
}

QString textoDaVariacao(std::optional<double> variacao)
{
    if (!variacao)
        return kTraco;
    return (*variacao > 0.0 ? QStringLiteral("+") : QString()) + kBrasil.toString(*variacao, 'f', 2) +
           QStringLiteral(" %");
}

void compoeRelatorioDeCustos(Documento& d, const catalogue::ResultadoDoRecusteio& r, const QString& logotipo)
{
    d.setOrientation(Orientacao::Retrato);
    d.setMargins(twipsDeMm(18));
    d.startDoc();
    d.setHdrFont(Fonte{QStringLiteral("Times"), 10.0, false, true});
    d.setHeader(QStringLiteral("||") + legendaDosCustos() + QStringLiteral(" - ") + dataBrasileira(r.data));
    d.setFooter(avisoDoRodape() + QStringLiteral("||Página %d"));
    if (!logotipo.isEmpty())
        d.drawPicture(logotipo, QRectF(twipsDeMm(10), twipsDeMm(8), twipsDeMm(34), twipsDeMm(18)));

    d.setCurrentY(d.marginTop() + twipsDeMm(12));
    d.setTextAlign(Alinhamento::Esquerda);
    d.setFonte(Fonte{QStringLiteral("Times"), 16.0, true, true});
    d.paragraph(legendaDosCustos());
    d.setFonte(Fonte{QStringLiteral("Arial"), 10.0, false, false});
    d.paragraph(QStringLiteral("Custos cotados em %1 com os preços atuais dos produtos.").arg(dataBrasileira(r.data)));
    d.paragraph(QStringLiteral("%1: %2 examinados, %3 com custo novo, %4 sem preço (mantidos como estavam).")
                    .arg(r.soEmUso ? QStringLiteral("Traços em uso") : QStringLiteral("Todos os traços"))
                    .arg(r.examinados)
                    .arg(r.mudados.size())
                    .arg(r.semPreco.size()));

    secao(d, QStringLiteral("Traços com custo novo"));
    if (r.mudados.isEmpty()) {
        d.paragraph(QStringLiteral("Nenhum custo mudou."));
    } else {
        QString corpo;
        for (const catalogue::CustoMudado& m : r.mudados)
            corpo +=
                linha({m.nome.trimmed(), calc::padded(m.variante, 2), m.anterior ? textoEmReais(*m.anterior) : kTraco,
                       textoEmReais(m.novo), textoDaVariacao(m.variacao())});
        d.addTable(QStringLiteral("<3400|^900|>1900|>1900|>1300;"),
                   QStringLiteral("Traço|Variante|Custo anterior R$/m³|Custo novo R$/m³|Variação %;"), corpo,
                   kCinzaClaro);
    }

    if (!r.produtos.isEmpty()) {
        secao(d, QStringLiteral("Preços dos produtos usados"));
        QString corpo;
        for (const catalogue::PrecoAtual& p : r.produtos)
            corpo += linha({p.nome, p.preco ? textoEmReais(*p.preco) : kTraco, dataBrasileira(p.data),
                            p.posteriorACotacao ? QStringLiteral("Sim") : QStringLiteral("Não")});
        d.addTable(QStringLiteral("<3900|>1800|^1700|^2000;"),
                   QStringLiteral("Produto|Preço atual|Data do preço|Preço após a cotação;"), corpo, kCinzaClaro);
    }

    if (!r.semPreco.isEmpty()) {
        secao(d, QStringLiteral("Traços sem preço (não atualizados)"));
        QString corpo;
        for (const catalogue::TracoSemPreco& s : r.semPreco)
            corpo += linha({s.nome.trimmed(), calc::padded(s.variante, 2), s.produtos.join(QStringLiteral(", "))});
        d.addTable(QStringLiteral("<3400|^900|<5100;"), QStringLiteral("Traço|Variante|Produtos sem preço;"), corpo,
                   kCinzaClaro);
    }
    d.endDoc();
}

} // namespace printing
