// Writes the bundled demo store: the folder files of one Outlook Express identity with
// realistic messages (plain, multipart with attachments, uuencoded, non-ASCII subjects) and
// deleted messages still in the deleted chain. The output is the same on every run.
//
//   make_demo_store OUTPUT-FOLDER
#include "dbx_writer.h"
#include "folder_database_writer.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using dbxtest::MessageFields;
using dbxtest::StoreBuilder;

std::string Base64(std::string_view data) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t line = 0;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    std::uint32_t n = static_cast<unsigned char>(data[i]) << 16;
    if (i + 1 < data.size())
      n |= static_cast<unsigned char>(data[i + 1]) << 8;
    if (i + 2 < data.size())
      n |= static_cast<unsigned char>(data[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < data.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += i + 2 < data.size() ? kAlphabet[n & 63] : '=';
    if ((line += 4) == 76) {
      out += "\r\n";
      line = 0;
    }
  }
  return line ? out + "\r\n" : out;
}

std::string Uuencode(std::string_view name, std::string_view data) {
  auto enc = [](unsigned value) { return static_cast<char>(value ? (value & 63) + 32 : '`'); };
  std::string out = "begin 644 " + std::string(name) + "\r\n";
  for (std::size_t i = 0; i < data.size(); i += 45) {
    std::string_view line = data.substr(i, 45);
    out += enc(static_cast<unsigned>(line.size()));
    for (std::size_t j = 0; j < line.size(); j += 3) {
      unsigned b0 = static_cast<unsigned char>(line[j]);
      unsigned b1 = j + 1 < line.size() ? static_cast<unsigned char>(line[j + 1]) : 0;
      unsigned b2 = j + 2 < line.size() ? static_cast<unsigned char>(line[j + 2]) : 0;
      out += enc(b0 >> 2);
      out += enc(((b0 << 4) | (b1 >> 4)) & 63);
      out += enc(((b1 << 2) | (b2 >> 6)) & 63);
      out += enc(b2 & 63);
    }
    out += "\r\n";
  }
  return out + "`\r\nend\r\n";
}

// Some bytes that look like a small binary file.
std::string BinaryBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(seed >> 16);
  }
  return bytes;
}

std::string Paragraphs(int count) {
  static const char* kLines[] = {
      "Thanks for sending the figures over so quickly.",
      "I have gone through the numbers and most of them line up with ours.",
      "The third quarter still looks a little light, but nothing alarming.",
      "Could we talk it through on Thursday, perhaps after lunch?",
      "Let me know if anything changes on your side before then.",
  };
  std::string text;
  for (int i = 0; i < count; ++i)
    text += std::string(kLines[i % 5]) + "\r\n" + (i % 5 == 4 ? "\r\n" : "");
  return text;
}

struct Demo {
  std::string from, from_name, to, subject, date;
  std::string body; // everything after the common header lines
  std::string extra_headers;
};

// Mail fetched from a server starts with the trace lines the server added; mail written
// here starts with From.
std::string Text(const Demo& m, int number) {
  std::string trace;
  if (m.from.find("dana.whitfield") == std::string::npos)
    trace = "Return-Path: <" + m.from + ">\r\nReceived: from mail.example.org ([192.0.2.25])\r\n" +
            "\tby pop.example.org with SMTP; " + m.date + "\r\n";
  return trace + "From: \"" + m.from_name + "\" <" + m.from + ">\r\n" + "To: " + m.to + "\r\n" +
         "Subject: " + m.subject + "\r\n" + "Date: " + m.date + "\r\n" + "Message-ID: <demo" +
         std::to_string(number) + ".salvora@example.org>\r\n" + "MIME-Version: 1.0\r\n" +
         m.extra_headers + "X-Mailer: Microsoft Outlook Express 6.00.2900.5512\r\n" + m.body;
}

std::string Plain(const std::string& text) {
  return "Content-Type: text/plain;\r\n\tcharset=\"iso-8859-1\"\r\n"
         "Content-Transfer-Encoding: 7bit\r\n\r\n" +
         text;
}

std::string WithAttachment(const std::string& text, const std::string& name,
                           const std::string& type, const std::string& data) {
  const std::string boundary = "----=_NextPart_000_0012_01C2A9B4.5D8E3A20";
  return "Content-Type: multipart/mixed;\r\n\tboundary=\"" + boundary + "\"\r\n\r\n" +
         "This is a multi-part message in MIME format.\r\n\r\n--" + boundary + "\r\n" +
         Plain(text) + "\r\n--" + boundary + "\r\n" + "Content-Type: " + type + ";\r\n\tname=\"" +
         name + "\"\r\n" + "Content-Transfer-Encoding: base64\r\n" +
         "Content-Disposition: attachment;\r\n\tfilename=\"" + name + "\"\r\n\r\n" + Base64(data) +
         "\r\n--" + boundary + "--\r\n";
}

std::string Alternative(const std::string& text) {
  const std::string boundary = "----=_NextPart_000_0003_01C2B1E7.0A1F4C60";
  return "Content-Type: multipart/alternative;\r\n\tboundary=\"" + boundary + "\"\r\n\r\n" +
         "This is a multi-part message in MIME format.\r\n\r\n--" + boundary + "\r\n" +
         "Content-Type: text/plain;\r\n\tcharset=\"iso-8859-1\"\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
         text + "\r\n--" + boundary + "\r\n" +
         "Content-Type: text/html;\r\n\tcharset=\"iso-8859-1\"\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
         "<HTML><BODY><P>" +
         text + "</P></BODY></HTML>\r\n\r\n--" + boundary + "--\r\n";
}

struct Folder {
  std::string file;
  std::vector<Demo> messages;
  std::vector<int> deleted; // message numbers, in the order they were deleted
};

std::vector<Folder> DemoFolders() {
  const std::string me = "Dana Whitfield <dana.whitfield@example.org>";
  std::vector<Folder> folders;
  folders.push_back(
      {"Inbox.dbx",
       {{"tom.keller@example.com", "Tom Keller", me, "Quarterly figures",
         "Mon, 3 Mar 2003 09:14:27 +0100", Plain(Paragraphs(7)), ""},
        {"maria.lopez@example.net",
         "Mar\xED"
         "a L\xF3pez",
         me, "=?iso-8859-1?Q?Reuni=F3n_del_martes?=", "Tue, 4 Mar 2003 17:02:11 +0100",
         Plain("Hola Dana,\r\n\r\nla reuni\xF3n del martes queda a las diez.\r\n\r\nMar\xED"
               "a\r\n"),
         ""},
        {"tom.keller@example.com", "Tom Keller", me, "Signed contract",
         "Wed, 5 Mar 2003 11:45:00 +0100",
         WithAttachment(Paragraphs(3), "contract.pdf", "application/pdf",
                        "%PDF-1.4\n" + BinaryBytes(6000, 7)),
         ""},
        {"jens.mueller@example.de", "Jens M\xFCller", me,
         "=?utf-8?B?R3LDvMOfZSBhdXMgTcO8bmNoZW4=?=", "Thu, 6 Mar 2003 08:30:45 +0100",
         Plain("Viele Gr\xFC\xDF"
               "e aus M\xFCnchen!\r\n"),
         ""},
        {"photos@example.com", "Photo Club", me, "Holiday pictures (uuencoded)",
         "Fri, 7 Mar 2003 20:11:09 +0000",
         "Content-Type: text/plain;\r\n\tcharset=\"us-ascii\"\r\n\r\nHere is the picture.\r\n\r\n" +
             Uuencode("beach.jpg", "\xFF\xD8\xFF\xE0" + BinaryBytes(3000, 11)),
         ""},
        {"newsletter@example.com", "Garden Newsletter", me, "Spring planting guide",
         "Sat, 8 Mar 2003 06:00:00 -0500", Alternative(Paragraphs(40)), ""},
        {"tom.keller@example.com", "Tom Keller", me, "Re: Quarterly figures",
         "Mon, 10 Mar 2003 10:20:30 +0100", Plain("Thursday works for me.\r\n\r\nTom\r\n"),
         "In-Reply-To: <demo1.salvora@example.org>\r\n"}},
       {1, 6}});
  folders.push_back(
      {"Sent Items.dbx",
       {{"dana.whitfield@example.org", "Dana Whitfield",
         "\"Tom Keller\" <tom.keller@example.com>, maria.lopez@example.net", "Agenda for Thursday",
         "Tue, 11 Mar 2003 14:05:00 +0100", Plain(Paragraphs(5)), ""},
        {"dana.whitfield@example.org", "Dana Whitfield", "jens.mueller@example.de",
         "=?iso-8859-1?Q?Danke_f=FCr_die_Gr=FC=DFe?=", "Wed, 12 Mar 2003 09:00:00 +0100",
         Plain("Danke, Jens!\r\n"), ""}},
       {}});
  folders.push_back(
      {"Deleted Items.dbx",
       {{"offers@example.biz", "Great Offers", me, "You have been selected!!!",
         "Sun, 2 Mar 2003 03:33:33 +0000", Plain(Paragraphs(2)), ""},
        {"it-support@example.org", "IT Support", me, "Mailbox almost full",
         "Sun, 2 Mar 2003 12:00:00 +0100",
         WithAttachment("Please archive old mail.\r\n", "cleanup-steps.txt", "text/plain",
                        "1. Archive\r\n2. Compact folders\r\n3. Empty Deleted Items\r\n"),
         ""},
        {"anna.berg@example.se", "Anna Berg", me, "Lunch next week?",
         "Mon, 3 Mar 2003 12:15:00 +0100", Plain("Are you free on Tuesday?\r\n\r\nAnna\r\n"), ""}},
       {0, 2}});
  folders.push_back({"Drafts.dbx",
                     {{"dana.whitfield@example.org", "Dana Whitfield", "anna.berg@example.se",
                       "Re: Lunch next week?", "Tue, 4 Mar 2003 08:00:00 +0100",
                       Plain("Tuesday is fine, see you at noon.\r\n"), ""}},
                     {}});
  folders.push_back({"Projects.dbx",
                     {{"architect@example.com", "Lena Hoff", me, "Floor plans, revision C",
                       "Thu, 13 Mar 2003 16:40:00 +0100",
                       WithAttachment(Paragraphs(4), "floor-plan-rev-c.png", "image/png",
                                      "\x89PNG\r\n\x1A\n" + BinaryBytes(20000, 3)),
                       ""},
                      {"architect@example.com", "Lena Hoff", me, "Floor plans, revision B",
                       "Mon, 10 Mar 2003 16:40:00 +0100",
                       WithAttachment(Paragraphs(2), "floor-plan-rev-b.png", "image/png",
                                      "\x89PNG\r\n\x1A\n" + BinaryBytes(15000, 5)),
                       ""}},
                     {1}});
  return folders;
}

void WriteFolder(const Folder& folder, const std::filesystem::path& out, int& number) {
  StoreBuilder builder;
  for (const Demo& message : folder.messages) {
    MessageFields fields;
    fields.subject = message.subject;
    fields.sender_name = message.from_name;
    fields.sender_address = message.from;
    fields.recipient = message.to;
    fields.message_id = "<demo" + std::to_string(number) + ".salvora@example.org>";
    fields.date = 126900000000000000ull + 864000000000ull * static_cast<unsigned>(number);
    builder.AddMessage(Text(message, number++), fields);
  }
  for (int deleted : folder.deleted)
    builder.DeleteMessage(deleted);
  builder.Build().WriteTo((out / folder.file).string());
}

// The folder database: the folders as Outlook Express showed them, one of them under a
// display name that differs from its file's name.
void WriteFolderDatabase(const std::filesystem::path& path) {
  dbxtest::FolderDatabase({{0, -1, "Outlook Express", ""},
                           {1, 0, "Local Folders", ""},
                           {4, 1, "Inbox", "Inbox.dbx"},
                           {5, 1, "Outbox", ""},
                           {6, 1, "Sent Items", "Sent Items.dbx"},
                           {7, 1, "Deleted Items", "Deleted Items.dbx"},
                           {8, 1, "Drafts", "Drafts.dbx"},
                           {100, 1, "Work", ""},
                           {101, 100, "Floor plans", "Projects.dbx"}})
      .WriteTo(path.string());
}

// A file of the store that holds no messages: the POP3 message ids.
void WriteEmptyDatabase(const std::filesystem::path& path) {
  dbxtest::DbxImage image(0x24BC);
  const unsigned char signature[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC6, 0xFD, 0x74, 0x6F, 0x66, 0xE3,
                                     0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4};
  image.PutBytes(0, std::string_view(reinterpret_cast<const char*>(signature), sizeof signature));
  image.WriteTo(path.string());
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_demo_store OUTPUT-FOLDER\n";
    return 2;
  }
  std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  int number = 1;
  for (const Folder& folder : DemoFolders())
    WriteFolder(folder, out, number);
  WriteFolderDatabase(out / "Folders.dbx");
  WriteEmptyDatabase(out / "Pop3uidl.dbx");
  return 0;
}
