#pragma once

#include <memory>

class CDbConnection;
class D_T1;
class QFont;

// Creates the controls of a form's body/dialog as children of the form,
// registering each with D_T1::AddControl in creation order and hooking its
// notifications to D_T1::Notify. It stays with its form for what the
// controls share (fonts, its database object).
class IFormBuilder
{
public:
    virtual ~IFormBuilder() = default;
    virtual void Build(D_T1& form) = 0;
    // A builder of the same kind for another form (pages, pickers, popups).
    virtual std::unique_ptr<IFormBuilder> NewForForm() const = 0;
    // The font of every control without a font of its own.
    virtual const QFont& DefaultFont() const = 0;
    // The form's database object kept by the builder (set up, not opened).
    virtual CDbConnection& Database() = 0;
};
