// The extension's entry: hands the process to the widget host for its whole life.
#include "entry/bundle/TamsaWidgetBundle.h"

int main(int argc, char** argv) {
  return widgetkit::widgetBundleMain<tamsa::TamsaWidgetBundle>(argc, argv);
}
