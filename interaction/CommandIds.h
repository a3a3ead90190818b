#pragma once
// The numbers of the editor's commands that the view and its tools handle,
// and of the status-bar panes they fill. Menus, toolbar buttons and
// accelerators all reach a command by its number.

namespace zelvane::command {

// Mouse tools.
inline constexpr int kMove = 32808;
inline constexpr int kRotate = 32809;
inline constexpr int kScale = 32810;
inline constexpr int kPan = 32816;
inline constexpr int kOrbit = 32817;
inline constexpr int kZoom = 32853;
inline constexpr int kSelect = 32807;
inline constexpr int kTextureMove = 32848;
inline constexpr int kTextureScale = 32845;
inline constexpr int kTextureRotate = 32846;
inline constexpr int kFieldOfView = 32867;

// The axes the current tool acts on.
inline constexpr int kEffectX = 32811;
inline constexpr int kEffectY = 32812;
inline constexpr int kEffectZ = 32813;

// The viewport.
inline constexpr int kGrid = 32818;
inline constexpr int kAxis = 32819;
inline constexpr int kCage = 32905;
inline constexpr int kWireframe = 32826;
inline constexpr int kShaded = 32822;

// Camera presets: each has a menu command and a toolbar command.
inline constexpr int kCameraSims = 32790;
inline constexpr int kCameraTop = 32831;
inline constexpr int kCameraFront = 32830;
inline constexpr int kCameraLeft = 32829;
inline constexpr int kCameraRight = 32832;
inline constexpr int kCameraSimsButton = 32897;
inline constexpr int kCameraFrontButton = 32898;
inline constexpr int kCameraTopButton = 32899;
inline constexpr int kCameraLeftButton = 32900;
inline constexpr int kCameraRightButton = 32901;

// Editing.
inline constexpr int kClearScene = 32801;
inline constexpr int kDelete = 32917;
inline constexpr int kCopy = 57634;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kToggleMoveFast = 32834;
inline constexpr int kHighlightSelected = 32869;

// The document and printing.
inline constexpr int kNewDocument = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kSaveImage = 32854;
inline constexpr int kImportPlaceholder = 32908;
inline constexpr int kRecentFile = 57616;
inline constexpr int kExit = 57665;

// Insert: a new object of each kind at the footprint.
inline constexpr int kInsertBox = 32950;
inline constexpr int kInsertSphere = 32951;
inline constexpr int kInsertCylinder = 32952;
inline constexpr int kInsertRod = 32953;
inline constexpr int kInsertCone = 32954;
inline constexpr int kInsertPlane = 32955;
inline constexpr int kInsertDisk = 32956;
inline constexpr int kInsertBillboard = 32957;
inline constexpr int kInsertText = 32958;

// The shell: the object, the bars, help.
inline constexpr int kSetBaseObject = 32912;
inline constexpr int kRenderSprites = 32940;
// The object's sprites out to pictures and back in; the scene as a bake draws it.
inline constexpr int kExportSprites = 32960;
inline constexpr int kImportSprites = 32961;
inline constexpr int kPreviewAsBaked = 32962;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kObjectBar = 180;
inline constexpr int kHelpContents = 57670;
inline constexpr int kWebPage = 32875;
inline constexpr int kAbout = 57664;

// The print preview's own keys.
inline constexpr int kPreviewClose = 58112;
inline constexpr int kPreviewNextPage = 58114;
inline constexpr int kPreviewPreviousPage = 58115;

// Status-bar panes: the current tool's name, and the tool's readout.
inline constexpr int kToolNamePane = 33464;
inline constexpr int kReadoutPane = 33463;

} // namespace zelvane::command
