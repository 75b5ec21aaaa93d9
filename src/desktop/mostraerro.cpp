#include "mostraerro.h"

#include "dialogs.h"

#include "platform/database.h"
#include "platform/dberror.h"
#include "platform/errorlog.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace desktop {

void MostraErro(const QString& rotina, int numero, const QString& descricao)
{
    const platform::ErrorLog::Erro erro{rotina, numero, descricao};
    platform::RegistraErro(rotina, numero, descricao);
    // A file replaced or protected against writing, a database another workstation holds, a full disk or a row
    // deleted elsewhere are no fault of the program: the user is told what to do. Whatever
    // the engine made of a file replaced on another workstation (a damaged page of the old file, a refused write),
    // the remedy is the same.
    const QChar cr = QLatin1Char('\r');
    switch (platform::Database::shared().arquivoSubstituido() ? int(platform::BancoSubstituido) : numero) {
    case platform::BancoSubstituido:
        Dialogs::aviso(QStringLiteral("O banco de dados foi reparado em outra estação.") + cr +
                           QStringLiteral("Feche o Quenvar e abra-o de novo."),
                       QStringLiteral("Banco de dados substituído"), Dialogs::Icone::Exclamacao);
        return;
    case platform::SomenteLeitura:
        Dialogs::aviso(QStringLiteral("Não foi possível gravar: a pasta de dados ") +
                           QDir::toNativeSeparators(QFileInfo(platform::Paths::bancoDeDados()).absolutePath()) +
                           QStringLiteral(" está protegida contra gravação."),
                       QStringLiteral("Somente leitura"), Dialogs::Icone::Exclamacao);
        return;
    case platform::RegistroBloqueado:
        Dialogs::aviso(QStringLiteral("O banco de dados está sendo usado por outra estação e não pôde ser gravado "
                                      "agora.") +
                           cr + QStringLiteral("Tente de novo em alguns instantes."),
                       QStringLiteral("Banco de dados ocupado"), Dialogs::Icone::Exclamacao);
        return;
    case platform::ErroDiscoOuRede:
        if (!platform::Database::shared().driver().conexaoDeRede())
            break;
        Dialogs::aviso(QStringLiteral("A conexão com o servidor do banco de dados caiu.") + cr +
                           QStringLiteral("A gravação não foi confirmada e o que foi digitado continua na tela: "
                                          "verifique a rede e tente de novo."),
                       QStringLiteral("Servidor fora do ar"), Dialogs::Icone::Exclamacao);
        return;
    case platform::DiscoCheio:
        Dialogs::aviso(QStringLiteral("Não há espaço livre no disco da pasta de dados.") + cr +
                           QStringLiteral("Libere espaço e tente de novo."),
                       QStringLiteral("Disco cheio"), Dialogs::Icone::Exclamacao);
        return;
    case platform::RegistroExcluido:
        Dialogs::aviso(QStringLiteral("Este registro foi excluído em outra estação.") + cr +
                           QStringLiteral("Feche esta janela e abra-a de novo para ver o que está gravado agora."),
                       QStringLiteral("Registro excluído em outra estação"), Dialogs::Icone::Exclamacao);
        return;
    default:
        break;
    }
    Dialogs::aviso(platform::ErrorLog::mensagem(erro), QStringLiteral("Tratamento de Erros"), Dialogs::Icone::Critico);
}

} // namespace desktop
