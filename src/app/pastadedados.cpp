#include "pastadedados.h"

#include "catalogue/pastadados.h"
#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace app {

namespace {

using catalogue::PastaDados;
using desktop::Dialogs;

const QString kTitulo = QStringLiteral("Pasta de dados");
constexpr int kTopicoDaAjuda = 5001;

bool& reinicio()
{
    static bool pedido = false;
    return pedido;
}

QRadioButton* opcao(const QString& nome, const QString& texto, const QString& explicacao)
{
    auto* botao = new QRadioButton(texto);
    botao->setObjectName(nome);
    botao->setWhatsThis(explicacao);
    return botao;
}

QLineEdit* caixa(const QString& nome, const QString& acessivel, const QString& explicacao)
{
    auto* linha = new QLineEdit;
    linha->setObjectName(nome);
    linha->setAccessibleName(acessivel);
    linha->setWhatsThis(explicacao);
    linha->setMinimumWidth(420);
    return linha;
}

} // namespace

QString PastaDeDados::pastaSugerida()
{
    return platform::Paths::comSeparador(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) +
           QStringLiteral("Quenvar/");
}

QString PastaDeDados::pastaNovaSugerida()
{
    const QString base = pastaSugerida().chopped(1);
    QString pasta = pastaSugerida();
    for (int n = 2; PastaDados::temCatalogo(pasta) && n < 100; ++n)
        pasta = base + QStringLiteral(" %1/").arg(n);
    return pasta;
}

PastaDeDados::PastaDeDados(std::optional<platform::CaminhoDad::Achado> atual, QWidget* pai)
    : QDialog(pai), m_atual(std::move(atual)),
      m_nova(opcao(QStringLiteral("OpcaoNova"), QStringLiteral("Criar uma &nova pasta de dados"),
                   QStringLiteral("Cria uma pasta com um catálogo novo, pronto para os traços da empresa."))),
      m_existente(opcao(QStringLiteral("OpcaoExistente"), QStringLiteral("Usar uma pasta de dados &existente"),
                        QStringLiteral("Usa o catálogo de uma pasta que já existe, nesta máquina ou na rede."))),
      m_servidor(opcao(QStringLiteral("OpcaoServidor"), QStringLiteral("Conectar a um &servidor PostgreSQL"),
                       QStringLiteral("Usa o catálogo de um servidor PostgreSQL, compartilhado por várias estações; "
                                      "a pasta guarda só a conexão (Dados/servidor.ini)."))),
      m_pastaNova(caixa(QStringLiteral("PastaNova"), QStringLiteral("Pasta nova"),
                        QStringLiteral("A pasta a criar. Se já existir, deve estar sem catálogo."))),
      m_demo(new QCheckBox(QStringLiteral("Com os traços de &demonstração"))),
      m_pastaExistente(
          caixa(QStringLiteral("PastaExistente"), QStringLiteral("Pasta existente"),
                QStringLiteral("A pasta que tem o catálogo (com Dados/empresa.mdb ou Dados/servidor.ini)."))),
      m_conexao(caixa(QStringLiteral("Conexao"), QStringLiteral("Conexão com o servidor"),
                      QStringLiteral("A conexão com o servidor, como o administrador a informou: por exemplo "
                                     "host=servidor dbname=quenvar user=usuario password=senha."))),
      m_pastaServidor(caixa(QStringLiteral("PastaServidor"), QStringLiteral("Pasta da conexão"),
                            QStringLiteral("A pasta desta estação que guarda a conexão, o logotipo e o registro de "
                                           "erros.")))
{
    setObjectName(QStringLiteral("PastaDeDados"));
    setWindowTitle(kTitulo);
    m_demo->setObjectName(QStringLiteral("ComDemonstracao"));
    m_demo->setWhatsThis(QStringLiteral("Põe no catálogo novo uma empresa de exemplo, com produtos e traços, para "
                                        "conhecer o programa. Sem ela, o catálogo começa vazio."));
    m_demo->setChecked(true);
    m_conexao->setPlaceholderText(QStringLiteral("host=servidor dbname=quenvar user=usuario"));

    auto* explicacao = new QLabel;
    explicacao->setObjectName(QStringLiteral("Explicacao"));
    explicacao->setWordWrap(true);
    if (m_atual) {
        explicacao->setText(
            QStringLiteral("Pasta de dados em uso: %1\n(registrada em %2)\n\nEscolha outra pasta; o Quenvar será "
                           "reiniciado nela.")
                .arg(QDir::toNativeSeparators(m_atual->pastaDados), QDir::toNativeSeparators(m_atual->arquivo)));
    } else {
        explicacao->setText(QStringLiteral("Bem-vindo ao Quenvar. Esta estação ainda não tem uma pasta de dados, "
                                           "onde fica o catálogo de traços da empresa. Escolha uma:"));
    }

    // The folder under Documents is offered as it is when an earlier start made it; a new one goes beside it.
    const QString sugerida = pastaSugerida();
    const bool sugeridaPronta = !m_atual && PastaDados::temCatalogo(sugerida);
    m_pastaNova->setText(QDir::toNativeSeparators(pastaNovaSugerida()));
    m_pastaServidor->setText(QDir::toNativeSeparators(pastaNovaSugerida()));
    if (m_atual)
        m_pastaExistente->setText(QDir::toNativeSeparators(m_atual->pastaDados));
    else if (sugeridaPronta)
        m_pastaExistente->setText(QDir::toNativeSeparators(sugerida));
    (sugeridaPronta ? m_existente : m_nova)->setChecked(true);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* continuar = botoes->button(QDialogButtonBox::Ok);
    continuar->setText(QStringLiteral("&Continuar"));
    continuar->setObjectName(QStringLiteral("Continuar"));
    continuar->setWhatsThis(QStringLiteral("Prepara a pasta escolhida e a registra para esta estação."));
    QPushButton* cancelar = botoes->button(QDialogButtonBox::Cancel);
    cancelar->setText(QStringLiteral("Cancelar"));
    cancelar->setObjectName(QStringLiteral("Cancelar"));
    cancelar->setWhatsThis(m_atual ? QStringLiteral("Fecha esta janela e continua na pasta em uso.")
                                   : QStringLiteral("Encerra o programa sem escolher uma pasta."));
    connect(continuar, &QPushButton::clicked, this, &PastaDeDados::confirma);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* coluna = new QVBoxLayout(this);
    coluna->addWidget(explicacao);
    coluna->addSpacing(8);
    coluna->addWidget(m_nova);
    coluna->addWidget(linhaDePasta(m_pastaNova, QStringLiteral("ProcuraNova")));
    coluna->addWidget(m_demo);
    coluna->addSpacing(8);
    coluna->addWidget(m_existente);
    coluna->addWidget(linhaDePasta(m_pastaExistente, QStringLiteral("ProcuraExistente")));
    coluna->addSpacing(8);
    coluna->addWidget(m_servidor);
    auto* linhaDaConexao = new QWidget;
    auto* recuo = new QHBoxLayout(linhaDaConexao);
    recuo->setContentsMargins(24, 0, 0, 0);
    recuo->addWidget(m_conexao);
    coluna->addWidget(linhaDaConexao);
    coluna->addWidget(linhaDePasta(m_pastaServidor, QStringLiteral("ProcuraServidor")));
    coluna->addStretch();
    coluna->addWidget(botoes);

    auto* ajuda = new QShortcut(QKeySequence::HelpContents, this);
    connect(ajuda, &QShortcut::activated, this, [this] { desktop::Ajuda::MostraAjuda(this, kTopicoDaAjuda); });

    for (QRadioButton* botao : {m_nova, m_existente, m_servidor})
        connect(botao, &QRadioButton::toggled, this, &PastaDeDados::habilitaOpcoes);
    habilitaOpcoes();
}

QWidget* PastaDeDados::linhaDePasta(QLineEdit* caixaDaPasta, const QString& nome)
{
    auto* linha = new QWidget;
    auto* layout = new QHBoxLayout(linha);
    layout->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(caixaDaPasta, 1);
    auto* procura = new QPushButton(QStringLiteral("Procurar…"));
    procura->setObjectName(nome);
    procura->setAccessibleName(QStringLiteral("Procurar ") + caixaDaPasta->accessibleName().toLower());
    procura->setWhatsThis(QStringLiteral("Escolhe a pasta numa janela de pastas."));
    layout->addWidget(procura);
    connect(procura, &QPushButton::clicked, this, [this, caixaDaPasta] {
        const QString pasta = QFileDialog::getExistingDirectory(this, kTitulo, caixaDaPasta->text());
        if (!pasta.isEmpty())
            caixaDaPasta->setText(QDir::toNativeSeparators(pasta));
    });
    connect(caixaDaPasta, &QLineEdit::textChanged, this, &PastaDeDados::habilitaOpcoes);
    return linha;
}

void PastaDeDados::habilitaOpcoes()
{
    m_pastaNova->parentWidget()->setEnabled(m_nova->isChecked());
    m_demo->setEnabled(m_nova->isChecked());
    m_pastaExistente->parentWidget()->setEnabled(m_existente->isChecked());
    m_conexao->setEnabled(m_servidor->isChecked());
    m_pastaServidor->parentWidget()->setEnabled(m_servidor->isChecked());
}

void PastaDeDados::confirma()
{
    PastaDados::Escolha escolha;
    if (m_nova->isChecked()) {
        escolha.tipo = PastaDados::Escolha::Tipo::Nova;
        escolha.pasta = m_pastaNova->text().trimmed();
        escolha.demo = m_demo->isChecked();
    } else if (m_existente->isChecked()) {
        escolha.tipo = PastaDados::Escolha::Tipo::Existente;
        escolha.pasta = m_pastaExistente->text().trimmed();
    } else {
        escolha.tipo = PastaDados::Escolha::Tipo::Servidor;
        escolha.pasta = m_pastaServidor->text().trimmed();
        escolha.conexao = m_conexao->text().trimmed();
    }
    const QString pasta =
        escolha.pasta.isEmpty() ? QString() : platform::Paths::comSeparador(QDir::fromNativeSeparators(escolha.pasta));
    // The folder in use, chosen again, needs nothing made nor written.
    if (m_atual && escolha.tipo == PastaDados::Escolha::Tipo::Existente && QDir(pasta) == QDir(m_atual->pastaDados)) {
        reject();
        return;
    }
    const QString arquivo = platform::CaminhoDad::paraGravar(m_atual);
    if (arquivo.isEmpty()) {
        Dialogs::aviso(QStringLiteral("O arquivo %1 não pode ser alterado por este usuário.\rPeça ao administrador "
                                      "que escreva nele a nova pasta de dados.")
                           .arg(QDir::toNativeSeparators(m_atual->arquivo)),
                       kTitulo, Dialogs::Icone::Exclamacao);
        return;
    }
    escolha.pasta = pasta;
    const PastaDados::Resultado preparada = PastaDados::prepara(escolha);
    if (!preparada.ok) {
        Dialogs::aviso(preparada.mensagem, kTitulo, Dialogs::Icone::Exclamacao);
        return;
    }
    QString erro;
    if (!platform::CaminhoDad::grava(arquivo, pasta, &erro)) {
        Dialogs::aviso(erro, kTitulo, Dialogs::Icone::Critico);
        return;
    }
    m_escolhida = pasta;
    m_arquivo = arquivo;
    accept();
}

std::optional<platform::CaminhoDad::Achado> escolhePrimeiraPasta(QWidget* pai)
{
    PastaDeDados janela(std::nullopt, pai);
    if (Dialogs::atual().mostraModal(&janela) != QDialog::Accepted || janela.pastaEscolhida().isEmpty())
        return std::nullopt;
    return platform::CaminhoDad::Achado{janela.arquivoGravado(), janela.pastaEscolhida()};
}

bool trocaPastaDeDados(QWidget* pai)
{
    std::optional<platform::CaminhoDad::Achado> atual = platform::CaminhoDad::procura();
    if (atual)
        atual->pastaDados = platform::Paths::pastaDados(); // the folder this run opened
    PastaDeDados janela(atual, pai);
    return Dialogs::atual().mostraModal(&janela) == QDialog::Accepted && !janela.pastaEscolhida().isEmpty();
}

bool reinicioPedido()
{
    return reinicio();
}

void pedeReinicio(bool pedido)
{
    reinicio() = pedido;
}

} // namespace app
