#include "resumo.h"

#include "calc/calcstate.h"

#include <QLocale>

namespace wizard {

namespace {

QString numero(double valor, int casas)
{
    // Quantities are written without a thousands separator, as everywhere in the program.
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(valor, 'f', casas);
}

QString linha(const QString& componente, const QString& porSaco, const QString& porMetro, const QString& litros)
{
    return QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td>"
                          "<td align=\"right\">%4</td></tr>")
        .arg(componente.toHtmlEscaped(), porSaco, porMetro, litros);
}

QString kg(double valor)
{
    return numero(valor, 1) + QStringLiteral(" kg");
}

QString litros(double valor)
{
    return numero(valor, 1) + QStringLiteral(" l");
}

} // namespace

QString resumoDoTraco(const calc::CalcState& s)
{
    QString html;
    html += QStringLiteral("<h3>Traço Experimental: %1</h3>").arg(s.nomeTraco.trimmed().toHtmlEscaped());
    html += QStringLiteral("<p>%1 &mdash; fck %2 MPa, fcj %3 MPa (desvio padrão %4 MPa)<br>")
                .arg(s.nomes[0].toHtmlEscaped(), QString::number(s.fck), numero(s.fcj, 1), numero(s.Sd, 1));
    html += QStringLiteral("Relação água/cimento %1 &mdash; consumo de cimento %2 kg por m³<br>")
                .arg(numero(s.wc, 2), numero(s.Cm, 1));
    html += QStringLiteral("Consistência %1, abatimento %2 mm &mdash; %3<br>")
                .arg(s.consistencia.toHtmlEscaped(), QString::number(s.abatimento), s.nomes[3].toHtmlEscaped());
    html += QStringLiteral("Relação agreg. miúdo/agreg. total %1 %</p>").arg(numero(s.alfa, 1));

    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\">");
    html += QStringLiteral("<tr><th align=\"left\">Componente</th><th>Por saco</th><th>Por m³</th>"
                           "<th>Volume aparente por saco</th></tr>");
    html += linha(s.nomes[0], kg(s.Mc), kg(s.Cm), litros(s.Lc));
    html += linha(QStringLiteral("Areia Grossa"), kg(s.Mcs), kg(s.Scm), litros(s.Lcs));
    html += linha(s.nomes[3], kg(s.Mg1), kg(s.G1m), litros(s.Lg1));
    html += linha(QStringLiteral("Água Total"), litros(s.W_b), litros(s.W), QString());
    html += linha(QStringLiteral("Água Adicional"), litros(s.Wa_b), litros(s.Wa), QString());
    html += linha(QStringLiteral("Mão-de-Obra"), numero(s.H_b, 2) + QStringLiteral(" hh"),
                  numero(s.Hm, 2) + QStringLiteral(" hh"), QString());
    html += QStringLiteral("</table>");

    html += QStringLiteral("<p>Proporção em massa: %1<br>Proporção em volume: %2<br>"
                           "Agregado/cimento: %3</p>")
                .arg(s.propMassa.toHtmlEscaped(), s.propVolume.toHtmlEscaped(), s.relAgregCimento.toHtmlEscaped());
    return html;
}

QString textoSemCimento(const QString& nomeDoCimento)
{
    return QStringLiteral("O cadastro de produtos não tem o produto \"%1\" com o peso do saco.\r"
                          "Sem o peso do saco de cimento não é possível calcular as quantidades do traço.\r"
                          "Cadastre o cimento ou escolha outra classe de cimento.")
        .arg(nomeDoCimento);
}

QString tituloSemCimento()
{
    return QStringLiteral("Cimento não cadastrado");
}

} // namespace wizard
