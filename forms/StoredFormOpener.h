#pragma once

#include <QString>

#include <functional>

class CDbConnection;
class D_T1;
class QTreeWidget;

// Opening the stored form of a menu entry as a window of its own.
//
// A form window is a parentless top-level window on the GUI thread; the values
// of one opening are handed to its window directly, so two entries opened in
// quick succession can never swap them.

// What one opening hands to its form window.
struct StoredMenuForm
{
    QString form;        // the form description
    QString disabledIds; // ";"-separated description ids disabled at open
    QString hiddenIds;   // ";"-separated description ids hidden at open
    QString menuUid;     // the entry whose form it is (the target of a redirect)
    QString menuName;    // the selected entry's name
    QString type;        // head/@type of the selected entry's form
    // Why the stored form cannot be opened: the database cannot be reached
    // or read (its text for the user and the driver's message), the entry's
    // field is empty or too short, or it does not decode or is no form
    // description. Empty when it can be opened, and for an entry without a
    // row (not a leaf), which has no form by design and opens nothing
    // without a word.
    QString problem;
};

// Reads the selected entry's stored form (c_menu_dh.form_0) and decodes it;
// a head whose "popup" reads p0:uid[:disabled[:hidden]] redirects to the form
// of entry uid. False when nothing is selected or the item is a folder; a
// database that cannot be opened or read leaves its reason in out.problem.
bool ReadSelectedMenuForm(QTreeWidget* tree, StoredMenuForm& out);

// How the query's form_0 was read.
enum class StoredFormRead { Decoded, NoRow, Empty, Undecodable, Failed };

// The decoded description of the query's first form_0, empty when there is
// none or it does not decode; how tells which, and reason why it failed to
// decode (the decoder's text) or to be read (the database's error text).
QString ReadStoredForm(CDbConnection& db, const QString& sql, StoredFormRead* how = nullptr,
                       QString* reason = nullptr);

// Creates the form window modeless and shows it; null (nothing shown) for a
// form text of fewer than 20 characters or one that cannot be loaded.
D_T1* StartPopupFormThread(const StoredMenuForm& stored);

// ReadSelectedMenuForm, then StartPopupFormThread when it succeeded. A stored
// form that cannot be opened is reported with its reason in a message box
// and in the log file instead.
bool OpenSelectedMenuForm(QTreeWidget* tree);

// Gives every opened form window its builder and event machinery before it is
// created (the program sets the real ones, tests their own).
using FormSetUp = std::function<void(D_T1& form)>;
void SetStoredFormSetUp(FormSetUp setUp);
