// A workstation saving mixes into a shared catalogue through the catalogue's own rules, for the test of several
// workstations writing at once.
//
// estacao <data folder> <saves> <seed> <name>
//
// Each save picks, from the seed, one of: a new mix under one of a few shared names (in use or not), an edit of a
// mix read a moment before (in use or not, sometimes renamed in case only), or a delete. Every save prints one line:
//   feito insere <key> <variant>
//   feito altera <key> <version read> <value written>
//   feito exclui <key> <version read>
//   recusado <operation> <error number>
// and the process ends with 0 when every save was done or refused with a number a user is told of in words.
#include "catalogue/catalogo.h"
#include "platform/database.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

const QStringList Nomes{QStringLiteral("Concreto Compartilhado"), QStringLiteral("Piso Ágil"),
                        QStringLiteral("Bloco Único"), QStringLiteral("Estaca Raiz")};

bool recusaConhecida(int numero)
{
    return numero == platform::RegistroAlteradoPorOutro || numero == platform::RegistroExcluido ||
           numero == platform::RegistroBloqueado;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5)
        return 2;
    const int saves = args.at(2).toInt();
    QRandomGenerator sorteio(args.at(3).toUInt());
    const QString estacao = args.at(4);

    platform::Database db(QStringLiteral("estacao"));
    db.open(platform::LocalDoBanco::daPasta(args.at(1)));
    catalogue::Catalogo catalogo(db);
    // Opened as a window opens it: the names it keeps in memory decide a write while no other station has written.
    catalogo.abre();
    QTextStream saida(stdout);

    bool todasConhecidas = true;
    for (int i = 0; i < saves; ++i) {
        const int sorteado = sorteio.bounded(10);
        const QString valor = estacao + QString::number(i);
        const char* operacao = sorteado < 4 ? "insere" : sorteado < 9 ? "altera" : "exclui";
        try {
            if (sorteado < 4) {
                const catalogue::TracoAGravar traco{Nomes.at(sorteio.bounded(Nomes.size())),
                                                    sorteio.bounded(2) == 0,
                                                    {{QStringLiteral("Fator"), valor}}};
                const catalogue::Gravacao g = catalogo.insere(traco);
                saida << "feito insere " << g.codigo << ' ' << g.variante << '\n';
            } else {
                // A mix read as a window shows it; the user takes a moment before saving.
                QSqlQuery q = db.exec(QStringLiteral("SELECT Codigo, Versao, NomeTraco FROM Tracos "
                                                     "ORDER BY random() LIMIT 1"));
                if (!q.next()) {
                    --i;
                    continue;
                }
                const catalogue::TracoLido lido{q.value(0).toLongLong(), q.value(1).toLongLong(),
                                                q.value(2).toString()};
                q.finish();
                QThread::usleep(sorteio.bounded(3000));
                if (sorteado < 9) {
                    const QString nome = sorteio.bounded(4) == 0 ? lido.nome.toUpper() : lido.nome;
                    catalogo.altera(lido, {nome, sorteio.bounded(3) == 0, {{QStringLiteral("Fator"), valor}}});
                    saida << "feito altera " << lido.codigo << ' ' << *lido.versao << ' ' << valor << '\n';
                } else {
                    QList<catalogue::Aviso> avisos;
                    if (catalogo.exclui(lido, avisos))
                        saida << "feito exclui " << lido.codigo << ' ' << *lido.versao << '\n';
                    else
                        saida << "mantido exclui " << lido.codigo << '\n';
                }
            }
        } catch (const platform::DbError& erro) {
            saida << "recusado " << operacao << ' ' << erro.numero() << '\n';
            if (!recusaConhecida(erro.numero())) {
                todasConhecidas = false;
                std::fprintf(stderr, "%s\n", erro.what());
            }
        }
        saida.flush();
    }
    return todasConhecidas ? 0 : 1;
}
