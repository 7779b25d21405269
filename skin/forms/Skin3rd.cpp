#include "skin/forms/WinSkinData.h"

// Controls of libraries this program may meet in a plug-in or a later version, told as the
// standard kinds they look like. The list is stored with each skin component and may be edited.
const std::vector<AnsiString>& DefaultSkin3rd() {
  static const std::vector<AnsiString> lines = {
      "TCategoryButtons=scrollbar", "TPngSpeedbutton=pngspeedbutton", "TPngBitBtn=pngbitbtn",
      "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=panel",
      "TAdvPanelGroup=scrollbar", "TComboboxex=combobox", "TRxSpeedButton=speedbutton", "THTMLViewer=scrollbar",
      "TDBCtrlGrid=scrollbar", "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton", "TControlBar=panel",
      "TTBDock=panel", "TTBToolbar=panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
      "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox",
      "TcxDBDateEdit=combobox", "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox",
      "TcxDBBlobEdit=combobox", "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox",
      "TcxDBShellComboBox=combobox", "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TRzGroup=panel",
      "TRzButton=button", "TRzBitbtn=bitbtn", "TRzMenuButton=menubtn", "TRzCheckGroup=checkgroup",
      "TRzRadioGroup=radiogroup", "TRzButtonEdit=edit", "TRzDBRadioGroup=radiogroup",
      "TRzDBRadioButton=radiobutton", "TRzDateTimeEdit=combobox", "TRzColorEdit=combobox",
      "TRzDateTimePicker=combobox", "TRzDBDateTimeEdit=combobox", "TRzDbColorEdit=combobox",
      "TRzDBDateTimePicker=combobox", "TLMDButton=bitbtn", "TLMDGroupBox=groupbox", "TDBCheckboxEh=checkbox",
      "TDBCheckboxEh=checkbox", "TLMDCHECKBOX=checkbox", "TLMDDBCHECKBOX=checkbox", "TLMDRadiobutton=radiobutton",
      "TLMDCalculator=panel", "TLMDGROUPBOX=groupbox", "TLMDSIMPLEPANEL=panel", "TLMDDBCalendar=panel",
      "TLMDButtonPanel=panel", "TLMDLMDCalculator=panel", "TLMDHeaderPanel=panel", "TLMDTechnicalLine=panel",
      "TLMDLMDClock=panel", "TLMDTrackbar=panel", "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox",
      "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox",
      "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox",
      "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox", "TLMDCalculatorComboBox=combobox",
      "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox", "TLMDTreeComboBox=combobox",
      "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=checkgroup", "TLMDDBRADIOGROUP=radiogroup",
      "TLMDDBCheckGroup=checkgroup", "TLMDCalculatorEdit=edit", "TLMDEDIT=edit", "TLMDMASKEDIT=edit",
      "TLMDBROWSEEDIT=edit", "TLMDEXTSPINEDIT=edit", "TLMDCALENDAREDIT=edit", "TLMDFILEOPENEDIT=edit",
      "TLMDFILESAVEEDIT=edit", "TLMDCOLOREDIT=edit", "TLMDDBEDIT=edit", "TLMDDBMASKEDIT=edit",
      "TLMDDBEXTSPINEDIT=edit", "TLMDDBSPINEDIT=edit", "TLMDDBEDITDBLookup=edit", "TLMDEDITDBLookup=edit",
      "TDBLookupCombobox=combobox", "TWWDBCombobox=combobox", "TWWDBCombobox=combobox",
      "TWWDBLookupCombo=combobox", "TWWKeyCombo=combobox", "TWWTempKeyCombo=combobox",
      "TWWDBDateTimePicker=combobox", "TWWRADIOGROUP=radiogroup", "TWWDBEDIT=edit", "TcxButton=bitbtn",
      "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup", "TcxGroupbox=panel", "TOVCPICTUREFIELD=edit",
      "TOVCDBPICTUREFIELD=edit", "TOVCSLIDEREDIT=edit", "TOVCDBSLIDEREDIT=edit", "TOVCSIMPLEFIELD=edit",
      "TOVCDBSIMPLEFIELD=edit", "TO32DBFLEXEDIT=edit", "TOVCNUMERICFIELD=edit", "TOVCDBNUMERICFIELD=edit",
  };
  return lines;
}
