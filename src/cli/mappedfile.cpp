#include "mappedfile.h"

#include "wholefile.h"

using namespace Qt::StringLiterals;

MappedFile::MappedFile(const QString &path)
    : m_regular(path)
{
    if (!MayRead(m_regular, path, MissingFile::IsEmpty, m_error) || !m_regular.IsOpen())
        return;
    const qint64 size = m_regular.Size();
    if (size > 0 && m_file.open(m_regular.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        m_mapped = m_file.map(0, size);
    if (m_mapped) {
        m_content = QByteArrayView(reinterpret_cast<const char *>(m_mapped), size);
        return;
    }
    const std::optional<QByteArray> read = m_regular.ReadUpTo(MaxFileBytes);
    if (!read)
        m_error = u"cannot read %1"_s.arg(path);
    m_read = read.value_or(QByteArray());
    m_content = m_read;
}

MappedFile::~MappedFile()
{
    if (m_mapped)
        m_file.unmap(m_mapped);
}
