#pragma once

#include <QString>
#include <QVariantList>

namespace catalogue {

// A statement and the values bound to its '?' marks.
struct Consulta
{
    QString sql;
    QVariantList valores;
};

// The fixed queries of the catalogue. Every name and code travels as a bound value, so a mix called
// "Traço d'água" works like any other.
namespace Consultas {

// Whole catalogue, in catalogue order (the main record set and the report of all mixes).
Consulta catalogo();
// Mixes in use (report).
Consulta emUso();
Consulta contaEmUso();
Consulta variantesDoNome(const QString& nome);
Consulta linhasDoNome(const QString& nome);
Consulta nomesDistintos();
Consulta renomeia(const QString& novoNome, const QString& nomeAntigo);
Consulta limpaPlantoes(const QString& nome);
Consulta produtosQueUsam(qint64 codigoTraco);
Consulta linhasComCodigo(qint64 codigoTraco);
Consulta listaCimentos();
Consulta listaGraudos();
Consulta listaAditivos();

} // namespace Consultas

} // namespace catalogue
