#pragma once

#include <QString>
#include <memory>
#include <vector>

// The pieces of a start or end tag of an HTML page, read from the page text
// at a position. Each Parse gives the characters consumed, 0 when nothing
// of its kind is there.

class CLiteHTMLElemAttr
{
public:
    qsizetype Parse(const QString& text, qsizetype pos);

    // Trims the value, drops line feeds, makes carriage returns and tabs
    // blanks and resolves character references.
    void SetValue(const QString& value);

    QString m_strName;
    QString m_strValue;
};

class CLiteHTMLAttributes
{
public:
    qsizetype Parse(const QString& text, qsizetype pos);

    int GetCount() const;
    const CLiteHTMLElemAttr& GetAttribute(int index) const;
    void RemoveAll();

private:
    // Allocated on first use.
    std::unique_ptr<std::vector<CLiteHTMLElemAttr>> m_attributes;
};

class CLiteHTMLTag
{
public:
    virtual ~CLiteHTMLTag() = default;

    // Reads a tag at text[pos] (after optional white space). An opening tag
    // sets opening, an end tag closing, an empty element ("/>") both. While
    // in script only an end tag named "script" is read.
    qsizetype ParseFromText(const QString& text, qsizetype pos, bool& opening, bool& closing,
                            bool inScript, bool parseAttributes = true);

    QString m_strTagName;
    CLiteHTMLAttributes m_attributes;
    qsizetype m_nBegin = 0; // the tag's "<"
    qsizetype m_nEnd = 0;   // just after its ">"
    bool m_bIsEmpty = false;
};
