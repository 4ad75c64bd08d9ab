#pragma once

class LightSwitchDataModel;
class QQmlApplicationEngine;
class VirtualPlatformDataModel;

// The program's scene: the resource bundles it is built from, and the main document loaded into an
// engine with the state model (and the stand-alone light switch's model) published to it.
namespace PlatformScene {

// Registers the resource bundles: large images, images, QML documents and font, utility module.
void registerResources();

// Adds the import path "qrc:/", publishes the models as virtualPlatformDataModel and
// lightSwitchDataModel, and loads the main document.
void load(QQmlApplicationEngine& engine, VirtualPlatformDataModel& model,
          LightSwitchDataModel& lightSwitchModel);

} // namespace PlatformScene
