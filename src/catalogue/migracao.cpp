#include "migracao.h"

#include "schema.h"

#include "platform/database.h"
#include "platform/localdobanco.h"
#include "platform/paths.h"
#include "platform/transaction.h"

#include <QFileInfo>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

namespace catalogue {

namespace {

using platform::Database;
using platform::DbError;
using TipoDeColuna = platform::Driver::TipoDeColuna;

// Rows sent to the server per statement.
constexpr int LinhasPorLote = 200;

// A table of the suite that is not the program's own is created on the server from the types the file declares.
QString criaTabelaAlheia(Database& destino, const QSqlRecord& campos, const QString& chave, const QString& tabela)
{
    const platform::Driver& driver = destino.driver();
    QStringList colunas;
    for (int i = 0; i < campos.count(); ++i) {
        const QSqlField campo = campos.field(i);
        TipoDeColuna tipo = TipoDeColuna::Texto;
        switch (campo.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            tipo = campo.name() == chave ? TipoDeColuna::Chave : TipoDeColuna::Inteiro;
            break;
        case QMetaType::Double:
            tipo = TipoDeColuna::Real;
            break;
        case QMetaType::Bool:
            tipo = TipoDeColuna::Logico;
            break;
        default:
            break;
        }
        colunas.append(Database::citado(campo.name()) + QLatin1Char(' ') + driver.tipoDaColuna(tipo, 0));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(Database::citado(tabela), colunas.join(QStringLiteral(", ")));
}

// The file's value as the server's column takes it: SQLite keeps true and false as the numbers 1 and 0.
QVariant valorPara(const QVariant& valor, const QMetaType& tipo)
{
    if (valor.isNull() || tipo.id() != QMetaType::Bool)
        return valor;
    return valor.toBool();
}

void copiaLinhas(Database& origem, Database& destino, const QString& tabela, qint64 total,
                 const Migracao::Progresso& progresso)
{
    const QSqlRecord destinoCampos = destino.handle().record(Database::citado(tabela));
    const QString chave = origem.chave(tabela);
    QSqlQuery linhas =
        origem.exec(QStringLiteral("SELECT * FROM %1%2")
                        .arg(Database::citado(tabela), chave.isEmpty() || chave == QLatin1String("_rowid_")
                                                           ? QString()
                                                           : QStringLiteral(" ORDER BY ") + chave));
    const QSqlRecord campos = linhas.record();
    QStringList nomes;
    QList<QMetaType> tipos;
    for (int i = 0; i < campos.count(); ++i) {
        nomes.append(Database::citado(campos.fieldName(i)));
        const int noDestino = destinoCampos.indexOf(campos.fieldName(i));
        tipos.append(noDestino >= 0 ? destinoCampos.field(noDestino).metaType() : QMetaType());
    }
    const QString marcas = QStringLiteral("(") + QStringList(nomes.size(), QStringLiteral("?")).join(',') + ')';
    const QString inicio = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(Database::citado(tabela), nomes.join(','));
    QVariantList valores;
    int noLote = 0;
    qint64 copiadas = 0;
    const auto envia = [&] {
        if (noLote == 0)
            return;
        QStringList lote(noLote, marcas);
        destino.exec(inicio + lote.join(','), valores);
        copiadas += noLote;
        valores.clear();
        noLote = 0;
        if (progresso)
            progresso(tabela, copiadas, total);
    };
    while (linhas.next()) {
        for (int i = 0; i < campos.count(); ++i)
            valores.append(valorPara(linhas.value(i), tipos.at(i)));
        if (++noLote == LinhasPorLote)
            envia();
    }
    envia();
}

} // namespace

Migracao::Resultado Migracao::migra(const QString& pasta, const QString& servidor, const Progresso& progresso)
{
    const QString raiz = platform::Paths::comSeparador(pasta);
    const QString ini = platform::LocalDoBanco::arquivoDoServidor(raiz);
    if (QFileInfo::exists(ini))
        return {false, QStringLiteral("A pasta %1 já usa um servidor (%2); nada foi alterado.").arg(raiz, ini), {}};
    const QString arquivo = raiz + QStringLiteral("Dados/empresa.mdb");
    const platform::LocalDoBanco destinoLocal = platform::LocalDoBanco::servidor(servidor);
    Resultado resultado;
    try {
        Database origem(QStringLiteral("migrar-origem-%1").arg(quintptr(&resultado)));
        // Only read: the file stays as it was, the way back to it.
        origem.open(platform::LocalDoBanco::arquivo(arquivo), Database::Acesso::SomenteLeitura);
        const int versao = origem.versaoDoEsquema();
        if (versao > Schema::versaoAtual())
            return {
                false, QStringLiteral("O banco de dados %1 é de uma versão mais nova do programa.").arg(arquivo), {}};
        Database destino(QStringLiteral("migrar-destino-%1").arg(quintptr(&resultado)));
        try {
            destino.create(destinoLocal);
        } catch (const DbError& erro) {
            if (erro.numero() == platform::BancoJaExiste)
                return {false,
                        QStringLiteral("O servidor %1 já tem tabelas; nada foi copiado.").arg(destinoLocal.descricao()),
                        {}};
            throw;
        }
        platform::Transaction transacao(destino);
        // The program's tables as the file's version has them, then the others of the suite from their types.
        Schema::atualiza(destino, versao);
        QStringList tabelas;
        for (const platform::Driver::ObjetoDoEsquema& objeto : origem.esquema()) {
            if (objeto.tipo != QLatin1String("table"))
                continue;
            tabelas.append(objeto.nome);
            if (!destino.ehTabela(objeto.nome)) {
                const QSqlIndex primaria = origem.handle().primaryIndex(objeto.nome);
                destino.exec(criaTabelaAlheia(destino, origem.handle().record(objeto.nome),
                                              primaria.count() == 1 ? primaria.fieldName(0) : QString(), objeto.nome));
                for (const QString& sql : destino.driver().depoisDeCriarTabela(objeto.nome))
                    destino.exec(sql);
            }
        }
        for (const QString& tabela : std::as_const(tabelas)) {
            const QString contagem = QStringLiteral("SELECT count(*) FROM ") + Database::citado(tabela);
            const qint64 total = origem.scalar(contagem).toLongLong();
            copiaLinhas(origem, destino, tabela, total, progresso);
            destino.driver().acertaNumeracao(destino.handle(), tabela,
                                             origem.driver().ultimaChave(origem.handle(), tabela));
            const qint64 copiadas = destino.scalar(contagem).toLongLong();
            if (copiadas != total)
                return {false,
                        QStringLiteral("A tabela %1 tem %2 linhas no arquivo e %3 no servidor; nada foi copiado.")
                            .arg(tabela)
                            .arg(total)
                            .arg(copiadas),
                        {}};
            resultado.tabelas.append({tabela, total});
        }
        Schema::atualiza(destino);
        transacao.commit();
    } catch (const DbError& erro) {
        return {
            false,
            QStringLiteral("Não foi possível copiar o banco de dados para o servidor; nada foi copiado (erro %1: "
                           "%2%3).")
                .arg(erro.numero())
                .arg(erro.descricao(), erro.detalhe().isEmpty() ? QString() : QStringLiteral(" — ") + erro.detalhe()),
            {}};
    }
    if (!platform::LocalDoBanco::gravaServidor(raiz, servidor))
        return {
            false,
            QStringLiteral("O banco de dados foi copiado para o servidor, mas não foi possível gravar %1.").arg(ini),
            {}};
    resultado.ok = true;
    return resultado;
}

} // namespace catalogue
