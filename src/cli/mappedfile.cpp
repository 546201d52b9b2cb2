#include "mappedfile.h"

#include "wholefile.h"

using namespace Qt::StringLiterals;

MappedFile::MappedFile(const QString &path)
    : m_file(path)
{
    if (OpenRegularFile(m_file, m_error) != FileState::Open)
        return;
    const qint64 size = m_file.size();
    m_mapped = size > 0 ? m_file.map(0, size) : nullptr;
    if (m_mapped) {
        m_content = QByteArrayView(reinterpret_cast<const char *>(m_mapped), size);
        return;
    }
    m_read = m_file.readAll();
    if (m_file.error() != QFileDevice::NoError)
        m_error = u"cannot read %1: %2"_s.arg(path, m_file.errorString());
    m_content = m_read;
}

MappedFile::~MappedFile()
{
    if (m_mapped)
        m_file.unmap(m_mapped);
}
