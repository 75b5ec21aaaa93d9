#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace desktop {

// The help window: the page asked for beside the contents, the index of keywords and a search over the pages'
// text, with back, forward and home. The pages are the HTML files under the help folder: Quenvar/ for the
// program, Sistema/ for the suite. The contents come from Quenvar/conteudo.txt; the index from the keywords of
// each page (<meta name="keywords" content="a; b; c">); the titles from each page's <title>.
class JanelaAjuda : public QWidget
{
    Q_OBJECT
public:
    // One page of the help, as read from its file.
    struct Pagina
    {
        QString arquivo;           // absolute path
        QString titulo;            // <title>, or the file name when it has none
        QStringList palavrasChave; // keywords of the index
        QString texto;             // plain text, for the search
    };

    // `pastaAjuda` is the folder that holds Quenvar/ and Sistema/ (ending in a separator or not).
    explicit JanelaAjuda(const QString& pastaAjuda, QWidget* parent = nullptr);
    ~JanelaAjuda() override;

    // The one help window of the run, over Ajuda/ in the resources folder; created on first use, and again when
    // the program folder changed. Shows the page and brings the window to the front; false when the page does
    // not exist, and then nothing is shown.
    static bool abre(QWidget* janela, const QString& pagina);
    // The window of the run, when it was created.
    static JanelaAjuda* existente();

    // Shows a page of the help (absolute path); false when the file does not exist.
    bool mostra(const QString& pagina);

    QString pastaAjuda() const { return m_pasta; }
    QString paginaAtual() const;
    QString tituloAtual() const;
    const QList<Pagina>& paginas() const { return m_paginas; }

    // The keywords of the index in their order, and the pages that one of them leads to.
    QStringList palavrasChave() const;
    QStringList paginasDaPalavra(const QString& palavra) const;
    // Pages whose text holds every word of `consulta` (case and accents ignored), most occurrences first.
    QStringList pesquisa(const QString& consulta) const;

    // Lower case without accents, as the index and the search compare texts.
    static QString semAcentos(const QString& texto);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Entrada
    {
        QString palavra;
        QStringList paginas;
    };

    void carregaPaginas();
    void montaConteudo();
    void montaIndice();
    void filtraIndice(const QString& texto);
    void pesquisaNaJanela();
    void paginaMudou(const QUrl& endereco);
    void marcaPalavras(const QStringList& palavras);
    void abreItem(QTreeWidgetItem* item);
    QString tituloDe(const QString& arquivo) const;
    void acompanhaModal();

    QString m_pasta;
    QList<Pagina> m_paginas;
    QList<Entrada> m_indice;

    QTabWidget* m_abas = nullptr;
    QTreeWidget* m_conteudo = nullptr;
    QLineEdit* m_filtroIndice = nullptr;
    QTreeWidget* m_listaIndice = nullptr;
    QLineEdit* m_textoPesquisa = nullptr;
    QListWidget* m_resultados = nullptr;
    QTextBrowser* m_navegador = nullptr;
    QAction* m_voltar = nullptr;
    QAction* m_avancar = nullptr;
    QAction* m_inicio = nullptr;
    QPointer<QWidget> m_modal;
};

} // namespace desktop
