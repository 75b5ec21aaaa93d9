#pragma once

#include <QString>

// A data folder whose catalogue is as big as a company's after years of use, for the tests and benchmarks of a
// large catalogue. It starts from the demo folder (so products, units and prices exist) and replaces its mixes by
// `tracos` mixes:
// - names as a company writes them, accents, capitals and small letters mixed ("Concreto bombeado fck 25 – Obra 12");
// - 1 to 8 variants per name, about 2.2 on average, numbered from 00, exactly one of them in use;
// - each row a valid mix: its quantities and results are those of one of the demo's mixes;
// - the rows of a name share the code of the first of them written, as the catalogue's rules write them;
// - rows written in a shuffled order, so that neither the keys nor the pages follow the catalogue's order.
// The same seed gives the same catalogue. The demo's ready-mixed concretes are made of the first two names made.
// 100 000 mixes take a few seconds: one transaction and one prepared statement.
class GeradorCatalogo
{
public:
    struct Resultado
    {
        bool ok = false;
        int nomes = 0;
        QString mensagem; // why it failed
    };

    // `pasta` is the data folder to create, ending in '/'.
    static Resultado cria(const QString& pasta, int tracos, quint32 semente = 1);
};
