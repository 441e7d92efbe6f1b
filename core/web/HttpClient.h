#pragma once

#include <QString>

class HttpSession;
class QIODevice;
struct HttpConnection;

// The program's web requests. Each call waits for its answer in a local event
// loop that takes no user input, so callers use them like blocking calls.
// None throws; the results and message texts say how it went.

// A form-data request by POST (post) or GET in a session of its own. True
// only for a status of 200 to 299, with the body (UTF-8) appended to reply.
// message always ends up holding "提交成功完成！" or the failure text.
bool HttpRequest(const QString& url, const QString& data, QString& reply, QString& message,
                 bool post);

// The same exchange on the caller's session, which gets the time-outs of
// interactive forms first. A given connection decides the server and port;
// without one the URL's server is used. charset "GB2312" (exactly) reads the
// reply as code page 936, anything else as UTF-8. Unless keepConnection is
// set, the session's connections are closed afterwards.
bool HttpRequestEx(HttpSession& session, const HttpConnection* connection, const QString& url,
                   const QString& data, QString& reply, QString& message,
                   const QString& charset, bool post, bool keepConnection);

// The body of the URL read as UTF-8 when it answers with status 200; an empty
// text on every other status and on any failure. Up to five redirects are
// followed that keep the scheme or go from http to https.
QString HttpGetString(const QString& url);

// Downloads the URL into the file at path (relative paths from the current
// folder), following redirects as HttpGetString does. Only a complete body
// with status 200 replaces the file; on any failure the file stays as it was
// and the result is false. A reply that gives no length ends where its
// connection closes, so a cut one cannot be told from a whole one here:
// callers check that what came is whole (a program image, for one). When it
// fails and failure is given, failure says why: the server's status, the
// network's failure or the file that could not be written.
bool DownloadToFile(const QString& url, const QString& path, QString* failure = nullptr);

// Writes the rest of the response into the file at path through a temporary
// file that replaces it only when everything was written.
bool WriteResponseToFile(QIODevice& response, const QString& path);

// Read the rest of the response and append it to text, converted in one piece.
bool ReadResponseUtf8(QIODevice& response, QString& text);
bool ReadResponseGb2312(QIODevice& response, QString& text);
