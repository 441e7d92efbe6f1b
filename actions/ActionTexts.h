#pragma once

#include <QString>

// The fixed texts the actions share: the control references and the query
// into targets (the template filling's own are in text/SqlTexts.h).
namespace ActionTexts {

// A query gave a different number of values than there are targets.
inline const QString CountMismatch = QStringLiteral("参数和值数量不匹配!");
// No selected row where an action works on one.
inline const QString SelectRecord = QStringLiteral("请选择记录！");
// A control reference names a control of the wrong kind (the reference follows).
inline const QString WrongControl = QStringLiteral("控件指向出错:\n");
// Neither a grid row nor a control gives an action its value (%1 the
// attribute that names the control: url_id or num_id).
inline const QString NoValueControl = QStringLiteral("请选择记录或者录入关联索引的指定控件编号%1！");

} // namespace ActionTexts
