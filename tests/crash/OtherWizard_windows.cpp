#include "OtherWizard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

// A file held open cannot be removed there; the process number in its name is this running
// test's.
struct OtherWizard::Holder
{
    QFile file;
};

OtherWizard::OtherWizard(const QString &folder) : m_holder(std::make_unique<Holder>())
{
    const QString name = QStringLiteral(".KORV.ini.korvane-saving-%1-0123456789abcdef")
                             .arg(QCoreApplication::applicationPid());
    m_holder->file.setFileName(QDir(folder).filePath(name));
    if (m_holder->file.open(QIODevice::WriteOnly) && m_holder->file.write("[NAME]\r\n1=") > 0 &&
        m_holder->file.flush())
        m_fileName = name;
}

OtherWizard::~OtherWizard() = default;
