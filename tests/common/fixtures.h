#pragma once

#include "bancodeteste.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A temporary program folder and data folder, built with the same code as "quenvar-cli criar-dados".
class PastaDeTeste
{
public:
    explicit PastaDeTeste(bool demo = true);

    bool valida() const { return m_dir.isValid() && m_ok; }
    QString programa() const { return m_dir.path() + QStringLiteral("/programa/"); }
    QString dados() const { return m_dir.path() + QStringLiteral("/dados/"); }
    QString banco() const { return dados() + QStringLiteral("Dados/empresa.mdb"); }
    // The folder's database: the file above, or the test server's database when the run uses a server.
    platform::LocalDoBanco local() const { return platform::LocalDoBanco::daPasta(dados()); }
    QString caminho(const QString& relativo) const { return m_dir.path() + QLatin1Char('/') + relativo; }

    // Writes Caminho.dad in the program folder with these exact bytes.
    void escreveCaminho(const QByteArray& conteudo) const;
    // Caminho.dad pointing at the data folder.
    void apontaParaDados() const { escreveCaminho(dados().toUtf8() + "\r\n"); }

    // Damages the pages of an index so that the integrity check fails while every table row stays readable.
    static bool danificaIndice(const QString& banco, const QString& indice);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<teste::BancoNovo> m_banco;
    bool m_ok = false;
};
