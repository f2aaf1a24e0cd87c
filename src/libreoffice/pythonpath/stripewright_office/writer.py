"""Writer's "Insert Bar Code..." command: the dialog, and the insertion of a font string at the
cursor in its face and size."""
import uno
from com.sun.star.awt import XActionListener, XItemListener
from com.sun.star.awt.PushButtonType import CANCEL as PUSH_CANCEL
from com.sun.star.awt.PushButtonType import STANDARD as PUSH_STANDARD
from com.sun.star.style.LineSpacingMode import FIX as SPACING_FIX
from com.sun.star.style.LineSpacingMode import PROP as SPACING_PROP
import unohelper

from . import library

HEIGHTS = (("short", "Short"), ("normal", "Normal"), ("tall", "Tall"))
MIN_POINTS, MAX_POINTS = 4, 400
NOT_IN_TEXT = "Click into the text where the bar code should go, then try again."

# What the dialog showed last, for the next time in the same session.
_last = {"type": "39", "height": "normal", "points": 24.0, "checksum": False}

# Character attributes that would change the bars: synthetic bold or slant, letter spacing,
# scaling, case mapping (which changes the characters drawn), lines drawn through them.
_PLAIN_CHARACTERS = {
    "CharWeight": 100.0,  # com.sun.star.awt.FontWeight.NORMAL
    "CharPosture": uno.Enum("com.sun.star.awt.FontSlant", "NONE"),
    "CharUnderline": 0,
    "CharOverline": 0,
    "CharStrikeout": 0,
    "CharCaseMap": 0,
    "CharKerning": 0,
    "CharAutoKerning": False,
    "CharScaleWidth": 100,
    "CharEscapement": 0,
    "CharEscapementHeight": 100,
    "CharRotation": 0,
    "CharContoured": False,
    "CharShadowed": False,
    "CharRelief": 0,
    "CharColor": -1,  # automatic: dark on a light page
}


class InsertError(RuntimeError):
    """The bar code cannot be inserted; the text says why."""


def _text_range(document):
    """The view cursor's range, when the selection is text that can take a string."""
    controller = document.getCurrentController()
    selection = document.getCurrentSelection()
    if controller is None or selection is None or \
            not selection.supportsService("com.sun.star.text.TextRanges"):
        raise InsertError(NOT_IN_TEXT)
    return controller.getViewCursor()


def selected_text(document):
    """The selected text when it is one short line, to offer as the data; else ""."""
    try:
        view_cursor = _text_range(document)
    except InsertError:
        return ""
    text = view_cursor.getString()
    return text if len(text) <= 200 and "\n" not in text and "\r" not in text else ""


def insert_font_string(document, font_string, face, points):
    """Puts the font string in place of the selection (or at the cursor) in the face at the
    size, with plain character attributes and a line spacing that leaves the bars whole, and
    puts the cursor after it. InsertError when the place takes no text."""
    view_cursor = _text_range(document)
    try:
        text = view_cursor.getText()
        cursor = text.createTextCursorByRange(view_cursor)
        cursor.setString(font_string)
        cursor.setPropertyValue("CharFontName", face)
        cursor.setPropertyValue("CharFontStyleName", "")
        cursor.setPropertyValue("CharHeight", float(points))
        names = tuple(_PLAIN_CHARACTERS)
        cursor.setPropertyValues(names, tuple(_PLAIN_CHARACTERS[n] for n in names))
        # A fixed line spacing, or a proportional one below single, cuts off the bars' tops.
        spacing = cursor.getPropertyValue("ParaLineSpacing")
        if spacing.Mode == SPACING_FIX or (spacing.Mode == SPACING_PROP and spacing.Height < 100):
            spacing.Mode = SPACING_PROP
            spacing.Height = 100
            cursor.setPropertyValue("ParaLineSpacing", spacing)
        view_cursor.gotoRange(cursor.getEnd(), False)
    except Exception as e:  # a protected or read-only place raises UNO exceptions of its own
        if isinstance(e, InsertError):
            raise
        raise InsertError("The bar code cannot be inserted here: %s" %
                          (getattr(e, "Message", "") or type(e).__name__)) from None


def _add_control(model, kind, name, **values):
    """Adds a control of the kind ("Edit", "ListBox" ...) to the dialog's model."""
    control = model.createInstance("com.sun.star.awt.UnoControl%sModel" % kind)
    for key, value in values.items():
        setattr(control, key, value)
    model.insertByName(name, control)
    return control


class _Listener(unohelper.Base, XActionListener, XItemListener):
    def __init__(self, callback):
        self.callback = callback

    def actionPerformed(self, event):
        self.callback()

    def itemStateChanged(self, event):
        self.callback()

    def disposing(self, event):
        pass


class InsertBarcodeDialog:
    """The dialog: type, data, optional check character, bar height and point size. Insert
    encodes the data; a bad item keeps the dialog open with the message, a good one goes into
    the document at the cursor and closes the dialog. Tests fill the controls' models and call
    insert() without running the dialog."""

    def __init__(self, ctx, document):
        self.ctx = ctx
        self.document = document
        self.types = library.types()
        smgr = ctx.getServiceManager()
        model = smgr.createInstanceWithContext("com.sun.star.awt.UnoControlDialogModel", ctx)
        model.Title = "Insert Bar Code"
        model.Width, model.Height = 220, 152
        self.model = model
        labels = (("Type of bar code:", 8), ("Data:", 26), ("Bar height:", 58),
                  ("Point size:", 76))
        for i, (caption, y) in enumerate(labels):
            _add_control(model, "FixedText", "Label%d" % i, Label=caption, PositionX=6,
                            PositionY=y, Width=70, Height=10)
        names = [n for n, _ in self.types]
        self.type_list = _add_control(
            model, "ListBox", "TypeList", PositionX=80, PositionY=6, Width=134, Height=12,
            Dropdown=True, LineCount=len(names), Tabstop=True,
            StringItemList=tuple(caption for _, caption in self.types),
            SelectedItems=(names.index(_last["type"]) if _last["type"] in names else 0,))
        self.data_field = _add_control(
            model, "Edit", "DataField", PositionX=80, PositionY=24, Width=134, Height=12,
            Tabstop=True, Text=selected_text(document))
        self.checksum_box = _add_control(
            model, "CheckBox", "ChecksumBox", PositionX=80, PositionY=40, Width=134, Height=10,
            Label="Add Optional Checksum?", State=1 if _last["checksum"] else 0, Tabstop=True)
        heights = [h for h, _ in HEIGHTS]
        self.height_list = _add_control(
            model, "ListBox", "HeightList", PositionX=80, PositionY=56, Width=60, Height=12,
            Dropdown=True, LineCount=3, Tabstop=True,
            StringItemList=tuple(caption for _, caption in HEIGHTS),
            SelectedItems=(heights.index(_last["height"]),))
        self.size_field = _add_control(
            model, "NumericField", "SizeField", PositionX=80, PositionY=74, Width=40, Height=12,
            ValueMin=float(MIN_POINTS), ValueMax=float(MAX_POINTS), DecimalAccuracy=0,
            ValueStep=1.0, Spin=True, StrictFormat=True, Tabstop=True, Value=_last["points"])
        self.message = _add_control(
            model, "FixedText", "Message", PositionX=6, PositionY=94, Width=208, Height=30,
            MultiLine=True, TextColor=0xC00000, Label="")
        _add_control(model, "Button", "InsertButton", PositionX=110, PositionY=132, Width=50,
                        Height=14, Label="Insert", DefaultButton=True,
                        PushButtonType=PUSH_STANDARD, Tabstop=True)
        _add_control(model, "Button", "CancelButton", PositionX=164, PositionY=132,
                        Width=50, Height=14, Label="Cancel", PushButtonType=PUSH_CANCEL,
                        Tabstop=True)
        dialog = smgr.createInstanceWithContext("com.sun.star.awt.UnoControlDialog", ctx)
        dialog.setModel(model)
        dialog.getControl("InsertButton").addActionListener(_Listener(self.insert))
        dialog.getControl("TypeList").addItemListener(_Listener(self.type_changed))
        self.dialog = dialog
        self.type_changed()

    def selected_type(self):
        items = self.type_list.SelectedItems
        return self.types[items[0] if items else 0][0]

    def selected_height(self):
        items = self.height_list.SelectedItems
        return HEIGHTS[items[0] if items else 1][0]

    def type_changed(self):
        """The check box only for the types with an optional check character, the bar heights
        only for the types drawn in more than one face."""
        name = self.selected_type()
        self.checksum_box.Enabled = library.takes_checksum(name)
        faces = {library.face_name(name, h) for h, _ in HEIGHTS}
        self.height_list.Enabled = len(faces) > 1
        self.message.Label = ""

    def insert(self):
        """Encodes and inserts; True when the bar code went in and the dialog may close."""
        name = self.selected_type()
        height = self.selected_height()
        checksum = self.checksum_box.State == 1 and library.takes_checksum(name)
        points = self.size_field.Value
        try:
            if not MIN_POINTS <= points <= MAX_POINTS:
                raise InsertError("The point size must be from %d to %d." %
                                  (MIN_POINTS, MAX_POINTS))
            font_string = library.encode(name, self.data_field.Text, checksum)
            insert_font_string(self.document, font_string, library.face_name(name, height),
                               points)
        except (library.EncodeError, library.LibraryMissing, InsertError) as e:
            self.message.Label = str(e)
            return False
        _last.update(type=name, height=height, points=points,
                     checksum=self.checksum_box.State == 1)
        self.dialog.endExecute()
        return True

    def execute(self, parent_window):
        toolkit = self.ctx.getServiceManager().createInstanceWithContext(
            "com.sun.star.awt.Toolkit", self.ctx)
        self.dialog.createPeer(toolkit, parent_window)
        self.dialog.getControl("DataField").setFocus()
        try:
            self.dialog.execute()
        finally:
            self.dialog.dispose()
