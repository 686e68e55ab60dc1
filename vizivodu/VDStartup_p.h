// The start-up steps of the library's units, called by InitializeLibrary in unit order. A unit
// with registrations to make at start-up declares its step here and defines it in its own
// source file.
#pragma once

namespace vizivodu::startup {

// VDItem: the text item class and the item registry.
void InitializeVDItem();
// VDGrHandler: the global graphic handler and the graphic classes by name.
void InitializeVDGrHandler();
// VDClipboardFormats: the four named clipboard formats, in the order VDF, RTF, URL, HTML.
void InitializeVDClipboardFormats();
// VDLabelItem: label items (-200).
void InitializeVDLabelItem();
// VDSeqItem: sequence items (-202).
void InitializeVDSeqItem();
// VDNotes: endnotes (-204), footnotes (-203) and note references (-205), in that order.
void InitializeVDNotes();
// VDSidenotes: sidenotes (-206) and text boxes (-207).
void InitializeVDSidenotes();
// VDFieldItems: page number (-208) and page count (-209) items.
void InitializeVDFieldItems();
// VDUniscribe: the complex-script library loaded by name.
void InitializeVDUniscribe();
// VDThumbMaker: the global thumbnail maker.
void InitializeVDThumbMaker();
// VDTable: table items (-60).
void InitializeVDTable();

} // namespace vizivodu::startup
