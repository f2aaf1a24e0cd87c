"""The Calc add-in: one function per bar code type, BARCODE for any type by name, and
BARCODE_ERROR, which tells why an item gives no bar code.

A cell whose item cannot be encoded shows Calc's "Invalid argument" error (Err:502), never a
string that would print as a bar code. The implementation name and the method names are what
documents store for these functions: they must never change."""
import unohelper
from com.sun.star.lang import IllegalArgumentException, XServiceInfo, XServiceName
from org.stripewright.calc import XBarcodeFunctions

from stripewright_office import calc, library

IMPLEMENTATION = "org.stripewright.calc.BarcodeFunctions"
SERVICES = ("com.sun.star.sheet.AddIn",)


class BarcodeFunctions(unohelper.Base, XBarcodeFunctions, XServiceName, XServiceInfo):
    def __init__(self, ctx):
        self.ctx = ctx

    def _encode(self, type_name, data, checksum=None):
        try:
            return calc.font_string(type_name, data, checksum)
        except (calc.BadItem, library.LibraryMissing) as e:
            raise IllegalArgumentException(str(e), self, 0) from None

    def CODE25(self, data):
        return self._encode("25", data)

    def CODE25I(self, data, checksum):
        return self._encode("25i", data, checksum)

    def CODE39(self, data, checksum):
        return self._encode("39", data, checksum)

    def POSTNET(self, data):
        return self._encode("Post", data)

    def UPCA(self, data):
        return self._encode("UPC", data)

    def CODE128(self, data):
        return self._encode("128", data)

    def GS1_128(self, data):
        return self._encode("gs1-128", data)

    def EAN13(self, data):
        return self._encode("ean13", data)

    def IMB(self, data):
        return self._encode("imb", data)

    def BARCODE(self, barcodeType, barcodeData, checksum):
        return self._encode(barcodeType, barcodeData, checksum)

    def BARCODE_ERROR(self, barcodeType, barcodeData, checksum):
        try:
            return calc.problem(barcodeType, barcodeData, checksum)
        except library.LibraryMissing as e:
            return str(e)

    # XServiceName
    def getServiceName(self):
        return IMPLEMENTATION

    # XServiceInfo
    def getImplementationName(self):
        return IMPLEMENTATION

    def supportsService(self, name):
        return name in SERVICES

    def getSupportedServiceNames(self):
        return SERVICES


g_ImplementationHelper = unohelper.ImplementationHelper()
g_ImplementationHelper.addImplementation(BarcodeFunctions, IMPLEMENTATION, SERVICES)
