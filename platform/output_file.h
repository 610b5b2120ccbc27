#pragma once
#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

namespace livros {

// How a name given for an output is written: "-" is standard output; an existing device, pipe or
// socket (/dev/null, /dev/full, a FIFO) is written through and never replaced; anything else is a
// regular file, made under a temporary name beside it and renamed over it only at the end.
enum class OutputKind { StandardOutput, PassThrough, RegularFile };
OutputKind outputKind(const QString& name);

// The one way the program writes an output file (a listing, a PDF, a copy of an archived book).
// Nothing is opened before the first write, so a run refused early never touches the output. A
// regular file's bytes go to a temporary file beside it; commit() syncs it, reads it back, checks
// its size and SHA-256 against what was written (a full disk or a cut write shows here) and only
// then renames it over the name; anything else leaves the older file as it was. Names may hold
// bytes that are not UTF-8 (see native_file_name.h).
class OutputFile {
public:
    // Outputs are never written inside the archive of issued books (issuedArchiveFolder()), which
    // keeps each file as it was issued; only issuing itself writes there (IntoArchive).
    enum class Place { Anywhere, IntoArchive };
    explicit OutputFile(const QString& name, Place place = Place::Anywhere);
    ~OutputFile(); // removes a temporary file that was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const QString& name() const { return m_name; }
    OutputKind kind() const { return m_kind; }

    // Why the output surely cannot be written (its folder is missing or not writable, the name is a
    // folder), found without opening anything; empty when it may be.
    QString precheck() const;

    // Appends bytes, opening the output at the first call; false once a write failed (error()).
    bool write(const QByteArray& bytes);
    // For a regular file: synced, read back and verified under its temporary name, not renamed
    // yet; for the other kinds: flushed. Empty when done, else the reason (also in error()).
    QString finishWriting();
    // Renames a verified temporary file to the name (nothing to do for the other kinds).
    QString install();
    // finishWriting() then install().
    QString commit();
    // Drops what was written to a regular file; the older file stays as it was.
    void discard();

    const QString& error() const { return m_error; }
    // Whether the output was opened (by a write, or by finishing it).
    bool opened() const { return m_opened; }
    qint64 size() const { return m_size; }
    // The SHA-256 of what was written, lower-case hexadecimal.
    QString sha256() const;
    // The temporary file a regular file is written to (empty before the first write).
    QString temporaryName() const;

private:
    bool open();
    bool fail(int error);

    QString m_name;
    OutputKind m_kind;
    Place m_place;
    QByteArray m_temporary; // native bytes of the temporary file's name
    int m_fd = -1;
    bool m_opened = false;
    bool m_finished = false;
    qint64 m_size = 0;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QString m_error;
};

// The archive of issued books in the suite folder: "Livros/emitidos" (a capital L: the program
// "livros" itself may lie in the suite folder).
QString issuedArchiveFolder();
// Whether a file name lies inside that archive, links and ".." resolved.
bool isInsideIssuedArchive(const QString& path);

// Writes a whole content to an output name; the reason it could not be, or empty.
QString writeOutputFile(const QString& name, const QByteArray& content);

// The SHA-256 and size of a file's content; an empty hash when it cannot be read.
struct FileDigest {
    QString sha256;
    qint64 size = -1;
};
FileDigest fileDigest(const QString& path);

} // namespace livros
