import de.quandrel.jolv.utils 0.1

// A click area of a ControlStalk: a click on it selects position itemNumber.
ClickableArea {
    property int itemNumber: 0
}
