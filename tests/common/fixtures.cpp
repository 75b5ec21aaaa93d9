#include "fixtures.h"

#include "paginas.h"

#include "catalogue/pastadados.h"
#include "platform/caminhodad.h"

#include <QDir>
#include <QFile>

PastaDeTeste::PastaDeTeste(bool demo)
{
    m_banco = std::make_unique<teste::BancoNovo>(banco());
    m_ok = QDir().mkpath(programa()) && catalogue::PastaDados::cria(dados(), demo, m_banco->conexao()).ok;
    // Only the program folder's Caminho.dad speaks: no user's left by an earlier test, no company's of the machine.
    platform::CaminhoDad::definePastaDaEmpresa(m_dir.path() + QStringLiteral("/etc/"));
    QFile::remove(platform::CaminhoDad::doUsuario());
}

void PastaDeTeste::escreveCaminho(const QByteArray& conteudo) const
{
    QFile f(programa() + QStringLiteral("Caminho.dad"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(conteudo);
}

bool PastaDeTeste::danificaIndice(const QString& banco, const QString& indice)
{
    int raiz = 0;
    int tamanhoPagina = 0;
    teste::comConexao(banco, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"));
        q.addBindValue(indice);
        if (q.exec() && q.next())
            raiz = q.value(0).toInt();
        if (q.exec(QStringLiteral("PRAGMA page_size")) && q.next())
            tamanhoPagina = q.value(0).toInt();
    });
    if (raiz < 2 || tamanhoPagina <= 0)
        return false;
    QFile f(banco);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    // A b-tree page whose header no longer makes sense: the index is lost, the table pages are untouched.
    f.seek(qint64(raiz - 1) * tamanhoPagina);
    QByteArray lixo(tamanhoPagina, '\0');
    for (int i = 0; i < lixo.size(); ++i)
        lixo[i] = char((i * 37 + 11) & 0xff);
    lixo[0] = 0x0a; // still an index leaf, so the table reads on; its cells are nonsense
    f.write(lixo);
    return true;
}
