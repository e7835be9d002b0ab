#pragma once

#include <QString>
#include <memory>

// Another wizard that is saving into the same folder: what it has written so far lies in its
// temporary file, which it holds as a saving wizard does, so that no other save may take it.
class OtherWizard
{
public:
    // Writes the temporary file into folder and holds it; fileName() is empty when that failed.
    explicit OtherWizard(const QString &folder);
    ~OtherWizard();

    // The temporary file's name in the folder.
    QString fileName() const { return m_fileName; }

private:
    struct Holder;
    QString m_fileName;
    std::unique_ptr<Holder> m_holder;
};
