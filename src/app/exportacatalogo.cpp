#include "exportacatalogo.h"

#include "catalogue/consultas.h"
#include "catalogue/exportacao.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "platform/database.h"

#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <memory>

namespace app {

namespace {

using catalogue::Exportacao;
using desktop::Dialogs;

const QString kTitulo = QStringLiteral("Exportar catálogo");

ExportaCatalogo::EscolheArquivo& escolhaDeArquivo()
{
    static ExportaCatalogo::EscolheArquivo escolha;
    return escolha;
}

// The save dialog; a name typed without the extension takes the one of the type chosen in the list.
QString dialogoSalvar(QWidget* pai, const QString& sugestao)
{
    const QStringList filtros{QStringLiteral("Planilha CSV (*.csv)"), QStringLiteral("Planilha Excel (XLSX) (*.xlsx)"),
                              QStringLiteral("JSON (*.json)")};
    QString filtro = filtros.first();
    QString arquivo = QFileDialog::getSaveFileName(pai, kTitulo, sugestao, filtros.join(QStringLiteral(";;")), &filtro);
    if (!arquivo.isEmpty() && !Exportacao::formatoDoArquivo(arquivo)) {
        const qsizetype escolhido = std::max<qsizetype>(0, filtros.indexOf(filtro));
        const Exportacao::Formato formatos[] = {Exportacao::Formato::Csv, Exportacao::Formato::Xlsx,
                                                Exportacao::Formato::Json};
        arquivo += QLatin1Char('.') + Exportacao::extensao(formatos[escolhido]);
    }
    return arquivo;
}

// A window with the mixes written so far and a "Cancelar" button, shown only when the export takes a while.
Exportacao::Progresso progressoNaTela(QWidget* pai)
{
    auto dialogo = std::make_shared<QProgressDialog>(QStringLiteral("Exportando os traços…"),
                                                     QStringLiteral("Cancelar"), 0, 0, pai);
    dialogo->setWindowTitle(kTitulo);
    dialogo->setWindowModality(Qt::WindowModal);
    dialogo->setMinimumDuration(500);
    dialogo->setAutoClose(true);
    return [dialogo](int feitos, int total) {
        dialogo->setMaximum(total);
        dialogo->setValue(feitos);
        return !dialogo->wasCanceled();
    };
}

int contaTracos(platform::Database& banco, bool soEmUso)
{
    return soEmUso ? banco.scalar(catalogue::Consultas::contaEmUso().sql).toInt()
                   : banco.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt();
}

} // namespace

void ExportaCatalogo::defineEscolhaDeArquivo(EscolheArquivo escolha)
{
    escolhaDeArquivo() = std::move(escolha);
}

void ExportaCatalogo::executa(QWidget* pai, platform::Database& banco)
{
    const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
        QStringLiteral("Exportar todos os traços do catálogo?\r\rSim: todos os traços.\rNão: somente os traços em "
                       "uso.\rCancelar: nada é exportado."),
        kTitulo, Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNaoCancelar, Dialogs::Resposta::Sim);
    if (resposta == Dialogs::Resposta::Cancelar)
        return;
    const bool soEmUso = resposta == Dialogs::Resposta::Nao;
    try {
        if (contaTracos(banco, soEmUso) < 1) {
            Dialogs::aviso(soEmUso ? QStringLiteral("Não existe nenhum traço em uso.")
                                   : QStringLiteral("Não existe nenhum traço cadastrado."),
                           kTitulo, Dialogs::Icone::Informacao);
            return;
        }
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(kTitulo, erro.numero(), erro.descricao());
        return;
    }

    // The user's documents folder when there is one, otherwise the home folder.
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir pasta(!documentos.isEmpty() && QDir(documentos).exists() ? documentos : QDir::homePath());
    const QString sugestao =
        pasta.filePath(soEmUso ? QStringLiteral("Traços em uso.csv") : QStringLiteral("Traços.csv"));
    const EscolheArquivo& escolha = escolhaDeArquivo();
    const QString arquivo = escolha ? escolha(pai, sugestao) : dialogoSalvar(pai, sugestao);
    if (arquivo.isEmpty())
        return;
    const std::optional<Exportacao::Formato> formato = Exportacao::formatoDoArquivo(arquivo);
    if (!formato) {
        Dialogs::aviso(QStringLiteral("O arquivo %1 não é de um tipo que o Quenvar grava.\rEscolha um nome "
                                      "terminado em .csv, .xlsx ou .json.")
                           .arg(QDir::toNativeSeparators(arquivo)),
                       kTitulo, Dialogs::Icone::Exclamacao);
        return;
    }

    Exportacao exportacao(banco, *formato, soEmUso);
    Exportacao::Resultado resultado = Exportacao::Resultado::Falhou;
    try {
        resultado = exportacao.grava(arquivo, progressoNaTela(pai));
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(kTitulo, erro.numero(), erro.descricao());
        return;
    }
    switch (resultado) {
    case Exportacao::Resultado::Gravado:
        Dialogs::aviso(QStringLiteral("%1 gravado%2 em\r%3")
                           .arg(exportacao.gravados() == 1 ? QStringLiteral("1 traço")
                                                           : QStringLiteral("%1 traços").arg(exportacao.gravados()),
                                exportacao.gravados() == 1 ? QString() : QStringLiteral("s"),
                                QDir::toNativeSeparators(arquivo)),
                       kTitulo, Dialogs::Icone::Informacao);
        break;
    case Exportacao::Resultado::Cancelado:
        Dialogs::aviso(QStringLiteral("Exportação cancelada: o arquivo não foi gravado."), kTitulo,
                       Dialogs::Icone::Informacao);
        break;
    case Exportacao::Resultado::Falhou:
        Dialogs::aviso(exportacao.erro(), kTitulo, Dialogs::Icone::Exclamacao);
        break;
    }
}

} // namespace app
