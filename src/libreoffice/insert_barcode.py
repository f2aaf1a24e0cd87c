"""Writer's "Insert Bar Code..." command (menu entry and toolbar button): opens the dialog on
the document whose frame runs the command."""
import unohelper
from com.sun.star.awt.MessageBoxType import ERRORBOX
from com.sun.star.lang import XServiceInfo
from com.sun.star.task import XJobExecutor

from stripewright_office import library, writer

IMPLEMENTATION = "org.stripewright.writer.InsertBarcode"
SERVICES = ("com.sun.star.task.Job",)


def _message_box(ctx, frame, text):
    smgr = ctx.getServiceManager()
    toolkit = smgr.createInstanceWithContext("com.sun.star.awt.Toolkit", ctx)
    box = toolkit.createMessageBox(frame.getContainerWindow(), ERRORBOX, 1, "Insert Bar Code",
                                   text)
    box.execute()


class InsertBarcode(unohelper.Base, XJobExecutor, XServiceInfo):
    def __init__(self, ctx):
        self.ctx = ctx

    def trigger(self, argument):
        desktop = self.ctx.getServiceManager().createInstanceWithContext(
            "com.sun.star.frame.Desktop", self.ctx)
        frame = desktop.getCurrentFrame()
        document = frame.getController().getModel() if frame and frame.getController() else None
        if document is None or not document.supportsService("com.sun.star.text.TextDocument"):
            return
        try:
            dialog = writer.InsertBarcodeDialog(self.ctx, document)
        except library.LibraryMissing as e:
            _message_box(self.ctx, frame, str(e))
            return
        dialog.execute(frame.getContainerWindow())

    def getImplementationName(self):
        return IMPLEMENTATION

    def supportsService(self, name):
        return name in SERVICES

    def getSupportedServiceNames(self):
        return SERVICES


g_ImplementationHelper = unohelper.ImplementationHelper()
g_ImplementationHelper.addImplementation(InsertBarcode, IMPLEMENTATION, SERVICES)
