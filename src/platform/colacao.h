#pragma once

#include <QSqlDatabase>

namespace platform {

// The name under which every SQLite connection of the program knows the Portuguese ordering of texts.
inline constexpr char NomeDaColacao[] = "ptbr";

// The function by which statements fold a name as the catalogue compares names (see nomeDobrado).
inline constexpr char NomeDaDobra[] = "quenvar_dobra";

// Teaches the open SQLite connection `db` the Portuguese ordering of texts, as a Brazilian reader expects it in a
// list: capitals and small letters together, a letter with an accent or cedilla beside the plain one ("Água" under
// A, next to "agua"), and texts the ordering holds equal put in the order of their UTF-8 bytes, so that a sort
// always comes out the same. The ordering lives on the connection only: nothing of it is written to the file.
// It also learns the function NomeDaDobra. Throws DbError when the connection does not take them.
void registraColacao(const QSqlDatabase& db);

// A name as the catalogue compares names: without the blanks around it and without regard to case ("Concreto 25 "
// and "CONCRETO 25" are one name). The statement function NomeDaDobra gives the same text.
QString nomeDobrado(const QString& nome);

// The same ordering outside a statement (a list kept in memory): below 0 when `a` comes first, 0 only for the same
// text.
int comparaTextos(const QString& a, const QString& b);

// Where `texto` is, or would go, in a list of `total` texts kept in that ordering (`textoEm(i)` the i-th): the
// first position whose text does not come before it.
template <typename TextoEm> int lugarEmOrdem(int total, TextoEm textoEm, const QString& texto)
{
    int inicio = 0;
    int fim = total;
    while (inicio < fim) {
        const int meio = inicio + (fim - inicio) / 2;
        if (comparaTextos(textoEm(meio), texto) < 0)
            inicio = meio + 1;
        else
            fim = meio;
    }
    return inicio;
}

} // namespace platform
