#include "net/SmtpClient.h"

#include <ctime>
#include <fstream>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "net/MailAddress.h"
#include "net/MailHeader.h"
#include "net/MimeEncoder.h"
#include "net/MimeMessageOut.h"
#include "net/TemporaryFile.h"
#include "platform/TerminalText.h"

namespace {

const char acceptedCode[] = "250";

bool isContinuation(const std::string& line) {
    return line.size() >= 4 && line[3] == '-' && line.find(' ') > 3;
}

// The text after the code: after the first blank, or after "250-".
std::string textOf(const std::string& line) {
    if (isContinuation(line)) return line.substr(4);
    std::string::size_type blank = line.find(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

}  // namespace

SmtpClient::SmtpClient(LogCallback callback, void* context) : NetClient(callback, context) {}

SmtpClient::Reply SmtpClient::readWholeReply() {
    // One bound for the whole reply: a relay that sends a byte now and then
    // holds the client no longer than one that sends nothing.
    const platform::SocketDeadline deadline =
        platform::deadlineAfter(getTimeouts().replyMilliseconds);
    Reply reply;
    std::string line = readLineBefore(deadline, true);
    // A relay's reply line is short; a bounded count keeps a babbling peer
    // from holding the client.
    for (int lines = 1; isContinuation(line); ++lines) {
        if (lines >= 1000) throw VelkError("SMTP Error: the reply does not end", "", "[none]", 0);
        reply.text += textOf(line) + " ";
        line = readLineBefore(deadline, true);
    }
    reply.text += textOf(line);
    std::string::size_type blank = line.find(' ');
    reply.code = blank == std::string::npos ? line : line.substr(0, blank);
    reply.lastLine = line;
    return reply;
}

SmtpClient::Reply SmtpClient::expect(const std::string& code) {
    Reply reply = readWholeReply();
    if (reply.code != code) throw VelkError("SMTP Error: " + reply.text, "", "[none]", 0);
    return reply;
}

std::string SmtpClient::readReply() { return expect(acceptedCode).lastLine; }

void SmtpClient::open(const std::string& host, int port) {
    connect(host, port);
    // A relay that refuses at once says why in its greeting, then closes.
    expect("220");
}

void SmtpClient::hello(const std::string& domain) {
    refuseControlCharacters("HELO domain", domain);
    sendLine("HELO " + (domain.empty() ? localHostName() : domain), true, false);
    readReply();
}

void SmtpClient::sendText(const std::string& from, const std::string& to,
                          const std::string& subject, const std::string& text) {
    TemporaryFile textFile("textmsg");
    {
        VelkOutFile out(textFile.getPath(), false, false);
        out.write(text);
        out.close();
    }
    sendFile(from, to, subject, textFile.getPath(), MimePlainText, "");
}

void SmtpClient::sendFile(const std::string& from, const std::string& to,
                          const std::string& subject, const std::string& file, int encoding,
                          const std::string& shownName) {
    sendFileToList(from, std::vector<std::string>{to}, subject, file, encoding, shownName);
}

void SmtpClient::sendFileToList(const std::string& from,
                                const std::vector<std::string>& recipients,
                                const std::string& subject, const std::string& file,
                                int encoding, const std::string& shownName) {
    if (!fileExists(file)) {
        throw VelkError("SmtpClient: could not find the file " + terminalText(file) + " to send.", "", "[none]",
                        0);
    }
    TemporaryFile messageFile(file + ".send");
    {
        MimeMessageOut message(messageFile.getPath(), "");
        message.addFile(file, encoding, fileNamePart(shownName.empty() ? file : shownName));
        message.finish();
    }
    sendMessageFile(from, recipients, subject, messageFile.getPath(), true);
}

void SmtpClient::sendWireLine(const std::string& line) {
    // Dot-stuffing: a line of the message never reads as its end.
    if (!line.empty() && line[0] == '.')
        sendLine("." + line, true, false);
    else
        sendLine(line, true, false);
}

void SmtpClient::sendMessageFile(const std::string& from,
                                 const std::vector<std::string>& recipients,
                                 const std::string& subject, const std::string& messageFile,
                                 bool headerLines) {
    refuseControlCharacters("sender address", from);
    for (const std::string& recipient : recipients)
        refuseControlCharacters("recipient address", recipient);
    refuseControlCharacters("subject", subject);
    std::string fromAddress = addressOf(from);
    std::vector<std::string> toAddresses;
    for (const std::string& recipient : recipients) toAddresses.push_back(addressOf(recipient));
    // Opened before the dialogue starts, so a missing file sends nothing.
    std::ifstream in(messageFile, std::ios::binary);
    if (!in) throw VelkFileError("Couldn't find the file", messageFile);

    sendLine("MAIL From:<" + fromAddress + ">", true, false);
    readReply();
    for (const std::string& address : toAddresses) {
        sendLine("RCPT To:<" + address + ">", true, false);
        readReply();
    }
    sendLine("DATA", true, false);
    expect("354");
    auto sendHeader = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) sendLine(line, true, false);
    };
    sendHeader(addressHeaderLines("From", from));
    if (headerLines) {
        sendHeader(addressListHeaderLines("To", recipients));
        sendHeader(textHeaderLines("Subject", subject));
    }
    const std::time_t now = std::time(nullptr);
    sendLine("Date: " + mailDate(now), true, false);
    sendLine("Message-ID: " + newMessageId(now, localHostName()), true, false);

    std::string line;
    bool afterCarriageReturn = false;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            char c = block[i];
            if (c == '\n' && afterCarriageReturn) {
                afterCarriageReturn = false;  // the LF of a CR LF already ended the line
                continue;
            }
            afterCarriageReturn = c == '\r';
            if (c == '\n' || c == '\r') {
                sendWireLine(line);
                line.clear();
            } else if (c == '\0') {
                line += ' ';  // a NUL may not travel in a text line
            } else {
                // A line longer than a mail line may be goes out in pieces;
                // one octet is kept free for the dot that stuffing may add.
                // A line of just that length is no longer and stays whole.
                if (line.size() == maxLineOctets - 1) {
                    sendWireLine(line);
                    line.clear();
                }
                line += c;
            }
        }
    }
    if (in.bad()) throw VelkFileError("Could not read the file", messageFile);
    if (!line.empty()) sendWireLine(line);
    sendLine(".", true, false);
    readReply();
}

void SmtpClient::quit() {
    try {
        sendLine("QUIT", true, false);
        readLine(true);
    } catch (const VelkError&) {
        // The messages were accepted before; nothing is lost.
    }
}
