#include "camposdotraco.h"

#include "schema.h"

#include "calc/calcstate.h"
#include "calc/mixfields.h"
#include "calc/producttable.h"

#include <array>
#include <utility>

namespace catalogue {

QVariantMap CamposDoTraco(const calc::CalcState& estado, const calc::ProductTable& produtos)
{
    const QVariantMap calculado = calc::toFields(estado);
    QVariantMap campos;
    for (const QString& coluna : Schema::tracos().nomes()) {
        if (calculado.contains(coluna))
            campos.insert(coluna, calculado.value(coluna));
    }
    for (const char* decididoNaGravacao : {"Codigo", "CodigoTraco", "NomeTraco", "TracoVariante", "Plantao"})
        campos.remove(QLatin1String(decididoNaGravacao));

    const std::array<double, 10> porTraco = estado.porTraco();
    const std::array<std::pair<int, const char*>, 5> codigos{{{0, "TracoCimentoCod"},
                                                              {3, "TracoGraudoCod1"},
                                                              {4, "TracoGraudoCod2"},
                                                              {5, "TracoAditivoCod1"},
                                                              {6, "TracoAditivoCod2"}}};
    for (const auto& [linha, campo] : codigos) {
        const QString& produto = estado.nomes[std::size_t(linha)];
        qint64 codigo = 0;
        if (!produto.trimmed().isEmpty() && porTraco[std::size_t(linha)] != 0.0) {
            if (const std::optional<calc::ProductInfo> achado = produtos.findByName(produto))
                codigo = achado->code;
        }
        campos.insert(QLatin1String(campo), codigo);
    }
    return campos;
}

} // namespace catalogue
