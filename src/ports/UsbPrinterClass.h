#pragma once
// Which of the maker's USB printers Windows reports as present, and how they
// are driven: by the maker's own USB driver or as USB printing-class devices.

// Results of ClassifyUsbPrinters.
enum UsbPrinterClass {
    kUsbNoPrinter = 0,
    // One printer outside the own-driver group, or several, all in the class group.
    kUsbClassPrinters = 1,
    // One or several printers, all in the own-driver group.
    kUsbOwnDriverPrinters = 2,
    // Several printers of mixed groups, or with a product id of 2000 and above.
    kUsbMixedPrinters = 3,
};

// Looks at every present device of every class and counts those whose
// hardware id holds the maker's vendor id. Every failure of the enumeration
// reads as no printer.
int ClassifyUsbPrinters();
