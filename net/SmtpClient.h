// Sends mail to an SMTP relay over one connection: HELO, the envelope, and a
// MIME message prepared as a file and sent line by line. No extensions, no
// authentication.
//
// Every failure is a VelkError: the relay's refusals as "SMTP Error: " + its
// text, the connection's as NetClient's, the files' as the VelkFile family's.
#pragma once

#include <string>
#include <vector>

#include "net/NetClient.h"

class SmtpClient : public NetClient {
public:
    // The longest line sent, its CR LF not counted; longer lines of a
    // message are split.
    static constexpr std::size_t maxLineOctets = 998;

    SmtpClient(LogCallback logCallback, void* logContext);

    // Connects and reads the relay's greeting, which must be a 220 reply;
    // any other throws "SMTP Error: " + the greeting's text (a relay that
    // refuses says why there, and closes).
    void open(const std::string& host, int port = 25);

    // Sends "HELO " + domain (the local host name when domain is empty) and
    // requires a 250 reply. Throws before sending when the domain holds a
    // control character.
    void hello(const std::string& domain);

    // One message whose only part is the text (a plain-text part).
    void sendText(const std::string& from, const std::string& to, const std::string& subject,
                  const std::string& text);
    // One message whose only part is the file, encoded as MimeEncoding says
    // and named by shownName's file-name part (the file's when empty).
    // Throws "SmtpClient: could not find the file " + file + " to send."
    // before anything is sent when it does not exist.
    void sendFile(const std::string& from, const std::string& to, const std::string& subject,
                  const std::string& file, int encoding, const std::string& shownName);
    void sendFileToList(const std::string& from, const std::vector<std::string>& recipients,
                        const std::string& subject, const std::string& file, int encoding,
                        const std::string& shownName);

    // The dialogue for one prepared message file: "MAIL From:<address>",
    // one "RCPT To:<address>" per recipient (each requiring 250), "DATA"
    // (requiring 354), "From: " + from and, with headerLines, "To: " and
    // "Subject: " lines (texts beyond ASCII as MailHeader.h writes them),
    // "Date: " and "Message-ID: ", then the file's lines (a line beginning with "."
    // gets one more; lines end at LF, CR LF or CR and go out with one CR LF;
    // a line longer than maxLineOctets goes out in pieces), then "." alone,
    // requiring 250. The sender, the recipients and the subject are checked
    // for control characters before anything is sent.
    void sendMessageFile(const std::string& from, const std::vector<std::string>& recipients,
                         const std::string& subject, const std::string& messageFile,
                         bool headerLines);

    // Sends "QUIT" and reads the reply. Never throws: whatever was sent
    // before has been accepted already, so a relay that drops the line here
    // loses nothing.
    void quit();

    // Reads one whole reply (the lines "250-..." of a multi-line reply, then
    // its last line, all within the reply time-out) and returns its last
    // line when its code is 250; throws "SMTP Error: " + the reply's text
    // otherwise.
    std::string readReply() override;

    struct Reply {
        std::string code;  // the last line's text before its first blank
        std::string text;  // the lines' texts after their codes, joined by " "
        std::string lastLine;
    };
    // Reads one whole reply without judging it.
    Reply readWholeReply();

private:
    Reply expect(const std::string& code);
    void sendWireLine(const std::string& line);
};
