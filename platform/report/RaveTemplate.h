#pragma once
// Report templates as text files. Each line names a component's kind and name, then its
// properties as Key=Value pairs; a value with blanks is written in double quotes (\" and
// \\ inside). Indentation nests a component in the one above it. Lengths are inches with
// a decimal point; lines starting with ';' are remarks.
//
//   Report Report1
//     Page Page1 PageWidth=8.5 PageHeight=11
//       Region Region1 Left=0.35 Top=0.5 Width=7.8 Height=10
//         DataBand DataBand1 Height=1.2 DataView=RvDataSetConnection1
//           Text TextTitle Left=0 Top=0 Width=7.8 Height=0.3 Text="工资单" FontSize=14 Bold=1 Alignment=Center
//           DataText DataTextA1 Left=0.7 Top=0.6 Width=0.6 Height=0.2 DataField=GZ1 Alignment=Right
//           Rectangle RectangleA1 Left=0.7 Top=0.3 Width=0.6 Height=0.3 Visible=1
#include "platform/report/RaveComponents.h"
#include "platform/rtl/SysUtils.h"

MOLI_DECLARE_EXCEPTION(ERaveError, Exception)

// The reports of the template file FileName. Raises ERaveError naming the file when it is
// missing, unreadable or not a template (with the line at fault).
std::vector<std::unique_ptr<TRaveReport>> ReadRaveTemplate(const String& FileName);
// The same from the template's text; Source names it in error messages.
std::vector<std::unique_ptr<TRaveReport>> ParseRaveTemplate(const String& Text, const String& Source);
