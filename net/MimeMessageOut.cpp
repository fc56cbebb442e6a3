#include "net/MimeMessageOut.h"

#include <cctype>

#include "net/MimeEncoder.h"
#include "net/NetClient.h"
#include "net/TemporaryFile.h"

std::string makeBoundary(std::time_t seconds, const std::string& hostName) {
    std::string boundary = "-" + std::to_string(static_cast<long long>(seconds)) + ":=";
    for (char c : hostName) {
        bool allowed = std::isalnum(static_cast<unsigned char>(c)) != 0 ||
                       std::string("'()+_,-./:=?").find(c) != std::string::npos;
        boundary += allowed ? c : '-';
    }
    if (boundary.size() > 70) boundary.resize(70);
    return boundary;
}

std::string fileNamePart(const std::string& path) {
    std::string::size_type slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

MimeMessageOut::MimeMessageOut(const std::string& fileName, const std::string& leadingText,
                               const std::string& to, const std::string& subject)
    : VelkOutFile(fileName, false, false), boundary(makeBoundary(std::time(nullptr), localHostName())) {
    std::ostream& out = getStream();
    if (!to.empty()) out << "To: " << to << "\n";
    if (!subject.empty()) out << "Subject: " << subject << "\n";
    out << "MIME-Version: 1.0\n"
        << "Content-Type: MULTIPART/MIXED; BOUNDARY=\"" << boundary << "\"\n"
        << "\n"
        << "  This message is in MIME format.  The first part should be readable text,\n"
        << "  while the remaining parts are likely unreadable without MIME-aware tools.\n"
        << "  RFC 2045 to RFC 2049 describe the format; any mail program of today reads it.\n"
        << "\n";
    if (!leadingText.empty()) {
        writeBoundary();
        out << "Content-Type: TEXT/PLAIN; charset=US-ASCII\n\n" << leadingText << "\n";
    }
}

MimeMessageOut::~MimeMessageOut() = default;

void MimeMessageOut::writeBoundary() { getStream() << "\n--" << boundary << "\n"; }

void MimeMessageOut::addFile(const std::string& file, int encoding, const std::string& partName) {
    TemporaryFile part(file + ".mime");
    makeMimeEncoder(encoding)->encode(file, part.getPath(),
                                      fileNamePart(partName.empty() ? file : partName), true);
    writeBoundary();
    appendFile(part.getPath());
}

void MimeMessageOut::finish() {
    getStream() << "\n--" << boundary << "--\n";
    close();
}
