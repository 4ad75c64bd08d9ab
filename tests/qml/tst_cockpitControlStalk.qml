import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"

// The steering-column stalk: click areas added at run time, mirroring, the lever's motion and the
// return to the centre, driven by the mouse.
Item {
    id: root
    width: 600
    height: 600

    readonly property string imagePath: "qrc:/JOLV/ZUV-VirtualPlatformCore/images/svg-multilayer-extracted/"

    Component {
        id: stalkComponent
        ControlStalk {
            width: 400
            height: 400
            property var positions: []
            controlStalkConsoleImageUrl: root.imagePath + "control_stalk_console.svg"
            controlStalkGhostlinesImageUrl: root.imagePath + "control_stalk_moveable_lever_ghostlines.svg"
            controlStalkLeverImageUrl: root.imagePath + "control_stalk_moveable_lever.svg"
            controlStalkIconImageUrl: root.imagePath + "control_stalk_moveable_lever_icon_signal.svg"
            onLeverPositionChanged: positions.push(position)
            Component.onCompleted: {
                addClickableArea(0.60, 0.19, 0.375, 0.18, -36, 2)
                addClickableArea(0.71, 0.31, 0.375, 0.18, -18, 1)
                addClickableArea(0.75, 0.47, 0.375, 0.18, 0, 0)
                addClickableArea(0.75, 0.63, 0.375, 0.18, 18, -1)
                addClickableArea(0.70, 0.78, 0.375, 0.18, 36, -2)
            }
        }
    }

    TestCase {
        name: "CockpitControlStalk"
        when: windowShown

        function areaOf(stalk, position) {
            for (var i = 0; i < stalk.clickableAreaList.length; ++i) {
                if (stalk.clickableAreaList[i].itemNumber === position)
                    return stalk.clickableAreaList[i]
            }
            return null
        }

        // Clicks the middle of a position's area, as a user would.
        function clickPosition(stalk, position) {
            mouseClick(areaOf(stalk, position))
        }

        function leverRotation(stalk) {
            return findChild(stalk, "controlStalkLever").transform[0]
        }

        function verifyLeverAt(stalk, angle) {
            tryCompare(leverRotation(stalk), "angle", angle, 1000)
        }

        function test_click_data() {
            var rows = []
            var positions = [2, 1, 0, -1, -2]
            for (var m = 0; m < 2; ++m) {
                for (var i = 0; i < positions.length; ++i) {
                    var mirrored = m === 1
                    // Unmirrored, position 2 turns the lever up by -36 degrees; mirrored, by +36.
                    rows.push({ tag: (mirrored ? "mirrored " : "") + positions[i], mirrored: mirrored,
                                position: positions[i], angle: -18 * positions[i] * (mirrored ? -1 : 1) })
                }
            }
            return rows
        }

        function test_click(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: data.mirrored })
            compare(stalk.clickableAreaList.length, 5)
            var area = areaOf(stalk, data.position)
            // Mirrored areas lie at 1 - xRelative and are tilted the other way, as the lever is.
            fuzzyCompare(area.x + area.width / 2, stalk.width * (data.mirrored ? 1 - area.xRelative : area.xRelative), 0.01)
            compare(area.rotation, data.angle)
            var rotation = leverRotation(stalk)
            fuzzyCompare(rotation.origin.x, stalk.width * (data.mirrored ? 1 - 0.242 : 0.242), 0.01)
            fuzzyCompare(rotation.origin.y, stalk.height * (1 - 0.448), 0.01)

            clickPosition(stalk, data.position)
            compare(stalk.positions, [data.position])
            verifyLeverAt(stalk, data.angle)
        }

        function test_areasFollowTheSize() {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true })
            stalk.width = 200
            stalk.height = 300
            var area = areaOf(stalk, 2)
            fuzzyCompare(area.width, 0.375 * 200, 0.01)
            fuzzyCompare(area.height, 0.18 * 300, 0.01)
            fuzzyCompare(area.x + area.width / 2, 0.40 * 200, 0.01)
            fuzzyCompare(area.y + area.height / 2, 0.19 * 300, 0.01)
            clickPosition(stalk, 2)
            compare(stalk.positions, [2])
        }

        function test_autoReturnIsPostponedByAnotherClick_data() {
            return [ { tag: "1", position: 1 }, { tag: "-1", position: -1 } ]
        }

        function test_autoReturnIsPostponedByAnotherClick(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true, autoReturn: true })
            clickPosition(stalk, data.position)
            compare(stalk.positions, [data.position])
            wait(600)
            clickPosition(stalk, data.position)
            // 1000 ms after the first click nothing has returned yet.
            wait(650)
            compare(stalk.positions, [data.position, data.position])
            tryCompare(stalk.positions, "length", 3, 800)
            compare(stalk.positions, [data.position, data.position, 0])
            verifyLeverAt(stalk, 0)
        }

        // Choosing another position stops a pending return: the choice stays.
        function test_otherPositionCancelsThePendingReturn_data() {
            return [
                { tag: "2", position: 2 },
                { tag: "-2", position: -2 },
                { tag: "0", position: 0 }
            ]
        }

        function test_otherPositionCancelsThePendingReturn(data) {
            var stalk = createTemporaryObject(stalkComponent, root, { mirrored: true, autoReturn: true })
            clickPosition(stalk, 1)
            wait(300)
            clickPosition(stalk, data.position)
            wait(1300)
            compare(stalk.positions, [1, data.position])
            compare(leverRotation(stalk).angle, 18 * data.position)
        }

        function test_twoQuickClicksLeaveTheLeverAtTheSecond() {
            var stalk = createTemporaryObject(stalkComponent, root)
            clickPosition(stalk, 2)
            wait(100)
            clickPosition(stalk, -2)
            compare(stalk.positions, [2, -2])
            verifyLeverAt(stalk, 36)
            wait(400)
            compare(leverRotation(stalk).angle, 36)
        }
    }
}
