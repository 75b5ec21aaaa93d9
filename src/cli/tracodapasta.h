#pragma once

#include "calc/calcstate.h"
#include "calc/productinfo.h"

#include <QString>
#include <QVariantMap>

#include <optional>

// What the subcommands that work on one stored mix share: reading its variant option and loading it.
namespace cli {

// Variants are numbered with two digits.
constexpr int kMaiorVariante = 99;

// The number typed after --variante into `variante`. False, with the message on stderr, when it is not a whole number
// from 0 to kMaiorVariante.
bool leVariante(const QString& texto, std::optional<int>& variante);

// The mix a subcommand works on, as its options name it.
struct TracoPedido
{
    QString nome;
    std::optional<int> variante;
};

// Takes the option `opcao` (the mix's name, which must be given) and --variante out of the arguments. False, with the
// message and the usage line on stderr, when the name is missing or the variant is not a valid number.
bool tiraTraco(QStringList& argumentos, const QString& opcao, TracoPedido& traco, const QString& uso);

// A stored mix: its Tracos row, the state loaded from it and its cement product (nothing when the mix names no
// cement the products table knows).
struct TracoDaPasta
{
    QVariantMap linha;
    calc::CalcState estado;
    std::optional<calc::ProductInfo> cimento;
};

// The mix `traco` names in the data folder `pasta`, whose database it opens: the variant asked for, or else the name's
// variant in use, or else its first variant; a name is matched as typed, then without blanks around it. Nothing, with
// the message on stderr, when the folder cannot be opened, there is no such mix or it cannot be read.
std::optional<TracoDaPasta> carregaTracoDaPasta(const QString& pasta, const TracoPedido& traco);

} // namespace cli
