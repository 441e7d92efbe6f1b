#pragma once

class D_T1;

// Creates the controls of a form's body/dialog as children of the form,
// registering each with D_T1::AddControl under its description id.
class IFormBuilder
{
public:
    virtual ~IFormBuilder() = default;
    virtual void Build(D_T1& form) = 0;
};
